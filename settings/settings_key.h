// The program's own settings key, HKEY_LOCAL_MACHINE "SOFTWARE\Tweakforge",
// and the comparisons its text values are read with.
#pragma once

#include "tweaks/common/registry_key.h"

#include <string>

namespace tf::settings {

inline constexpr char KeyPath[] = "SOFTWARE\\Tweakforge";

// Opens the settings key with create on an accessor of its own, runs
// `work(key)` and closes the key.
template <typename Work> auto withSettingsKey(Work work) {
  return withKey(reg::HKEY_LOCAL_MACHINE, KeyPath, std::move(work));
}

// The text value `name` is exactly "Yes" (or "No"): case matters, so "yes"
// is neither. A missing value reads as "" and is neither.
bool isYes(reg::TRegistry &key, const std::string &name);
bool isNo(reg::TRegistry &key, const std::string &name);

// Writes "Yes" or "No".
void writeYesNo(reg::TRegistry &key, const std::string &name, bool yes);

} // namespace tf::settings
