// Widgets shared by the password dialogs: a password field showing "*" for
// every character, and the "Type:" group of the three security types.
#pragma once

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace reg {
class TRegistry;
}

namespace tf::security {

// A password field named `name`, child of `parent`, that shows "*" for every
// character typed; `label` becomes its buddy and gives its accessible name.
QLineEdit *addPasswordField(QWidget *parent, const char *name, QLabel *label);

// "Type:" with `RadioButton1` "Complete Password", `RadioButton2` "Only for
// Policies functions" and `RadioButton3` "Don't use Password", standing for
// "Normal", "Only" and "Not".
class SecurityTypeBox : public QGroupBox {
  Q_OBJECT
public:
  explicit SecurityTypeBox(QWidget *parent);

  // With "Type" present in the open key, checks its radio button; any other
  // text checks nothing and the previous check stays.
  void checkStoredType(reg::TRegistry &key);
  // Writes "Type" for the checked radio button; nothing when none is.
  void writeCheckedType(reg::TRegistry &key);

  QRadioButton *RadioButton1;
  QRadioButton *RadioButton2;
  QRadioButton *RadioButton3;
};

} // namespace tf::security
