// The two password prompts: `TForm6` at start-up and `TForm7` before a
// protected function. Both compare what is typed with the main window's copy
// of the password (`Edit34`).
#pragma once

#include "settings/fixed_dialog.h"

class QLineEdit;
class QPushButton;

namespace tf::security {

struct LockState;

// "Password:", the password field `Edit1`, a line, "O&K" and "C&ancel".
class PasswordPrompt : public FixedDialog {
  Q_OBJECT
public:
  PasswordPrompt(const char *name, QSize client, LockState &lock,
                 QWidget *parent);

  virtual void OfficeButton1Click() = 0;

protected:
  bool typedRightPassword() const;

  LockState &Lock;
  QLineEdit *Edit1;
  QPushButton *OfficeButton1;
  QPushButton *OfficeButton2;
};

// The start-up prompt. One attempt: a wrong password shows "Wrong Password!"
// and, like "C&ancel", closes the dialog refused; the caller then ends the
// program.
class TForm6 : public PasswordPrompt {
  Q_OBJECT
public:
  TForm6(LockState &lock, QWidget *parent);

  void OfficeButton1Click() override;
  void OfficeButton2Click() override;

  // Shows the dialog modally; true when the right password was typed.
  bool ask();
};

// The prompt for protected functions. The right password sets `Edit36` to
// "Ja"; a wrong one shows "Wrong Password!". The program goes on either way.
class TForm7 : public PasswordPrompt {
  Q_OBJECT
public:
  TForm7(LockState &lock, QWidget *parent);

  void OfficeButton1Click() override;
  void OfficeButton2Click() override;
};

} // namespace tf::security
