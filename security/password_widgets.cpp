#include "security/password_widgets.h"

#include "platform/wrapping_button.h"
#include "registry/registry.h"
#include "security/lock_state.h"
#include "security/password_values.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tf::security {

namespace {

// The application's style with "*" as the password character, whatever the
// style's own choice.
class AsteriskStyle : public QProxyStyle {
public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption *option,
                const QWidget *widget,
                QStyleHintReturn *answer) const override {
    if (hint == SH_LineEdit_PasswordCharacter)
      return '*';
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

} // namespace

QLineEdit *addPasswordField(QWidget *parent, const char *name, QLabel *label) {
  auto *field = new QLineEdit(parent);
  field->setObjectName(name);
  auto *style = new AsteriskStyle(QApplication::style()->name());
  style->setParent(field);
  field->setStyle(style);
  field->setEchoMode(QLineEdit::Password);
  label->setBuddy(field);
  QString accessible = label->text();
  accessible.remove(':');
  field->setAccessibleName(accessible);
  return field;
}

SecurityTypeBox::SecurityTypeBox(QWidget *parent)
    : QGroupBox("Type:", parent),
      RadioButton1(new WrappingRadioButton("Complete Password", this)),
      RadioButton2(
          new WrappingRadioButton("Only for Policies functions", this)),
      RadioButton3(new WrappingRadioButton("Don't use Password", this)) {
  setObjectName("GroupBox1");
  RadioButton1->setObjectName("RadioButton1");
  RadioButton2->setObjectName("RadioButton2");
  RadioButton3->setObjectName("RadioButton3");
  auto *column = new QVBoxLayout(this);
  column->setContentsMargins(6, 6, 6, 6);
  for (QRadioButton *button : {RadioButton1, RadioButton2, RadioButton3})
    column->addWidget(button);
}

void SecurityTypeBox::checkStoredType(reg::TRegistry &key) {
  if (!key.ValueExists("Type"))
    return;
  const QString type = readText(key, "Type");
  if (type == CompletePassword)
    RadioButton1->setChecked(true);
  else if (type == OnlyForPolicies)
    RadioButton2->setChecked(true);
  else if (type == DontUsePassword)
    RadioButton3->setChecked(true);
}

void SecurityTypeBox::writeCheckedType(reg::TRegistry &key) {
  if (RadioButton1->isChecked())
    key.WriteString("Type", CompletePassword.toStdString());
  else if (RadioButton2->isChecked())
    key.WriteString("Type", OnlyForPolicies.toStdString());
  else if (RadioButton3->isChecked())
    key.WriteString("Type", DontUsePassword.toStdString());
}

} // namespace tf::security
