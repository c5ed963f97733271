#include "security/password_values.h"

#include "registry/registry.h"
#include "security/lock_state.h"
#include "settings/settings_key.h"

namespace tf::security {

QString readText(reg::TRegistry &key, const std::string &name) {
  return QString::fromStdString(key.ReadString(name));
}

void passwordValuesAtFirstShowing(reg::TRegistry &key, LockState &lock) {
  if (key.ValueExists("Show"))
    lock.Edit34 = readText(key, "Show");
  else
    key.WriteString("Show", NoPassword.toStdString());
  lock.Edit34 = readText(key, "Show");

  if (key.ValueExists("Type"))
    lock.Edit35 = readText(key, "Type");
  else
    key.WriteString("Type", CompletePassword.toStdString());
}

void OfficeButton63Click(LockState &lock) {
  settings::withSettingsKey([&lock](reg::TRegistry &key) {
    lock.Edit34 = readText(key, "Show");
    lock.Edit35 = readText(key, "Type");
  });
}

bool needsStartupPrompt(const LockState &lock) {
  return lock.Edit34 != NoPassword && lock.Edit35 != DontUsePassword &&
         lock.Edit35 != OnlyForPolicies;
}

} // namespace tf::security
