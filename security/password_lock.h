// The password lock: the main window's copies of the password values, the
// four password dialogs, the start-up decision, the gate in front of the
// Policies category and the two commands of the "Password" menu.
#pragma once

#include "security/lock_state.h"
#include "tweaks/common/lazy.h"

class QWidget;

namespace tf::settings {
class SettingsTarget;
}

namespace tf::security {

class TForm5;
class TForm6;
class TForm7;
class TForm8;

class PasswordLock {
public:
  // `TForm5` to `TForm8` are created, hidden and owned by `mainWindow`, on
  // first use.
  explicit PasswordLock(QWidget *mainWindow);
  // The dialogs' makers point back to this lock.
  PasswordLock(const PasswordLock &) = delete;
  PasswordLock &operator=(const PasswordLock &) = delete;

  const LockState &state() const { return State; }

  // The main window's `FormShow`: opens the settings key, runs the "Wrap",
  // password values and "Auto" steps, closes the key, then decides on the
  // start-up prompt. False when the program is to end: a wrong password or
  // "C&ancel" in `TForm6`.
  bool firstShowing(settings::SettingsTarget &target);
  // Whether the Policies category may open: asks with `TForm7` only while a
  // password is set and the type is "Only".
  bool policiesGate();
  // "&Set/Change Password": `TForm5`, then the copies are reloaded.
  void SetChangePassword1Click();
  // "&Change Security": the password with `TForm7`, then `TForm8`; refused
  // with a message while no password is set.
  void Security1Click();
  // Reloads `Edit34` and `Edit35` from the registry.
  void OfficeButton63Click();

  TForm5 &form5() { return *Form5; }
  TForm6 &form6() { return *Form6; }
  TForm7 &form7() { return *Form7; }
  TForm8 &form8() { return *Form8; }

private:
  // Shows `TForm7`; true when it accepted the password. Clears `Edit36`.
  bool askWithForm7();

  QWidget *MainWindow;
  LockState State;
  Lazy<TForm5> Form5;
  Lazy<TForm6> Form6;
  Lazy<TForm7> Form7;
  Lazy<TForm8> Form8;
};

} // namespace tf::security
