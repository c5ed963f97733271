#include "security/password_lock.h"

#include "platform/platform.h"
#include "registry/registry.h"
#include "security/password_prompts.h"
#include "security/password_values.h"
#include "security/security_dialog.h"
#include "security/set_password_dialog.h"
#include "settings/settings_key.h"
#include "settings/settings_steps.h"

namespace tf::security {

PasswordLock::PasswordLock(QWidget *mainWindow)
    : MainWindow(mainWindow),
      Form5([this] { return new TForm5(State, MainWindow); }),
      Form6([this] { return new TForm6(State, MainWindow); }),
      Form7([this] { return new TForm7(State, MainWindow); }),
      Form8([this] { return new TForm8(MainWindow); }) {}

bool PasswordLock::firstShowing(settings::SettingsTarget &target) {
  settings::withSettingsKey([&](reg::TRegistry &key) {
    settings::wrapAtFirstShowing(key, target);
    passwordValuesAtFirstShowing(key, State);
    settings::autoAtFirstShowing(key, target);
  });
  return !needsStartupPrompt(State) || Form6->ask();
}

bool PasswordLock::policiesGate() {
  const bool locked = settings::withSettingsKey([](reg::TRegistry &key) {
    return readText(key, "Show") != NoPassword &&
           readText(key, "Type") == OnlyForPolicies;
  });
  return !locked || askWithForm7();
}

bool PasswordLock::askWithForm7() {
  platform().runModal(*Form7);
  const bool accepted = State.Edit36 == PasswordAccepted;
  State.Edit36.clear();
  return accepted;
}

void PasswordLock::SetChangePassword1Click() {
  Form5->FormActivate();
  platform().runModal(*Form5);
  OfficeButton63Click();
}

void PasswordLock::Security1Click() {
  settings::withSettingsKey([this](reg::TRegistry &key) {
    if (readText(key, "Show") == NoPassword) {
      informationMessage(MainWindow, "You have to specify a password before "
                                     "you can change the Security Type");
    } else if (askWithForm7()) {
      Form8->FormActivate();
      platform().runModal(*Form8);
    }
  });
  OfficeButton63Click();
}

void PasswordLock::OfficeButton63Click() {
  security::OfficeButton63Click(State);
}

} // namespace tf::security
