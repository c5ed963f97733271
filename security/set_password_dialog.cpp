#include "security/set_password_dialog.h"

#include "platform/platform.h"
#include "registry/registry.h"
#include "security/lock_state.h"
#include "security/password_values.h"
#include "security/password_widgets.h"
#include "settings/settings_key.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tf::security {

namespace {

// The help topic of the dialog and of "&Set/Change Password".
constexpr int SetPasswordHelp = 7;

QLabel *addLabel(QWidget *parent, const char *name, const QString &caption) {
  auto *label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

} // namespace

TForm5::TForm5(const LockState &lock, QWidget *parent)
    : FixedDialog("TForm5", "Set/Change Password", {361, 194}, SetPasswordHelp,
                  parent),
      Lock(lock) {
  QLabel *label1 = addLabel(this, "Label1", "Current:");
  QLabel *label2 = addLabel(this, "Label2", "Write your new password");
  QLabel *label3 = addLabel(this, "Label3", "Rewrite your password");
  Edit1 = addPasswordField(this, "Edit1", label1);
  Edit2 = addPasswordField(this, "Edit2", label2);
  Edit3 = addPasswordField(this, "Edit3", label3);
  GroupBox1 = new SecurityTypeBox(this);
  GroupBox1->RadioButton1->setChecked(true);
  OfficeButton1 = addButton("OfficeButton1", "O&K");
  OfficeButton2 = addButton("OfficeButton2", "C&ancel");
  OfficeButton1->setDefault(true);

  auto *grid = new QGridLayout(this);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setVerticalSpacing(2);
  grid->setHorizontalSpacing(6);
  int row = 0;
  for (auto [label, field] :
       {std::pair{label1, Edit1}, std::pair{label2, Edit2},
        std::pair{label3, Edit3}}) {
    grid->addWidget(label, row++, 0);
    grid->addWidget(field, row++, 0);
  }
  grid->addWidget(GroupBox1, 0, 1, row, 1);
  // The type captions are longer than the password labels: they get the
  // room first.
  grid->setColumnStretch(1, 1);
  grid->setRowMinimumHeight(row++, 8);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OfficeButton1);
  buttons->addWidget(OfficeButton2);
  grid->addLayout(buttons, row, 0, 1, 2);

  Edit1->installEventFilter(this);
  connect(OfficeButton1, &QPushButton::clicked, this,
          &TForm5::OfficeButton1Click);
  connect(OfficeButton2, &QPushButton::clicked, this,
          &TForm5::OfficeButton2Click);
}

void TForm5::FormActivate() {
  const bool noPassword = Lock.Edit34 == NoPassword;
  Edit1->setEnabled(!noPassword);
  Edit2->setEnabled(noPassword);
  Edit3->setEnabled(noPassword);
  settings::withSettingsKey(
      [this](reg::TRegistry &key) { GroupBox1->checkStoredType(key); });
}

void TForm5::Edit1KeyPress() {
  Edit2->setEnabled(true);
  Edit3->setEnabled(true);
}

bool TForm5::eventFilter(QObject *watched, QEvent *event) {
  // A character key, Backspace, Enter or Escape counts as a key press;
  // Shift or an arrow alone does not.
  if (watched == Edit1 && event->type() == QEvent::KeyPress &&
      !static_cast<QKeyEvent *>(event)->text().isEmpty())
    Edit1KeyPress();
  return FixedDialog::eventFilter(watched, event);
}

void TForm5::OfficeButton1Click() {
  const bool close = settings::withSettingsKey([this](reg::TRegistry &key) {
    if (readText(key, "Show") != NoPassword &&
        readText(key, "Show") != Edit1->text()) {
      errorMessage(this, "Wrong Password!");
      return true;
    }
    if (Edit3->text() != Edit2->text()) {
      errorMessage(this, "The passwords isn't the same");
      return false;
    }
    GroupBox1->writeCheckedType(key);
    key.WriteString("Show", Edit3->text().toStdString());
    informationMessage(this, "The password is now set");
    return true;
  });
  if (close)
    closeWith(Accepted);
  clearFields();
}

void TForm5::OfficeButton2Click() {
  clearFields();
  closeWith(Rejected);
}

void TForm5::clearFields() {
  Edit1->clear();
  Edit2->clear();
  Edit3->clear();
}

} // namespace tf::security
