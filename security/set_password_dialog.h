// `TForm5`, "Set/Change Password": the current password (when one is set),
// the new one twice, and the security type.
#pragma once

#include "settings/fixed_dialog.h"

class QLineEdit;
class QPushButton;

namespace tf::security {

struct LockState;
class SecurityTypeBox;

class TForm5 : public FixedDialog {
  Q_OBJECT
public:
  TForm5(const LockState &lock, QWidget *parent);

  // On activation: without a password only the new entries are open, with
  // one only "Current:" until a key is pressed in it; the stored type is
  // checked.
  void FormActivate();
  // A key pressed in "Current:" opens the new entries.
  void Edit1KeyPress();
  // Checks the current password against the registry, then stores the new
  // one and the type when both entries agree.
  void OfficeButton1Click();
  void OfficeButton2Click() override;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // Whether to close: false while the two new entries differ.
  bool storeNewPassword();
  void clearFields();

  const LockState &Lock;
  QLineEdit *Edit1;
  QLineEdit *Edit2;
  QLineEdit *Edit3;
  SecurityTypeBox *GroupBox1;
  QPushButton *OfficeButton1;
  QPushButton *OfficeButton2;
};

} // namespace tf::security
