#include "settings/settings_key.h"

#include "registry/registry.h"

namespace tf::settings {

bool isYes(reg::TRegistry &key, const std::string &name) {
  return key.ReadString(name) == "Yes";
}

bool isNo(reg::TRegistry &key, const std::string &name) {
  return key.ReadString(name) == "No";
}

void writeYesNo(reg::TRegistry &key, const std::string &name, bool yes) {
  key.WriteString(name, yes ? "Yes" : "No");
}

} // namespace tf::settings
