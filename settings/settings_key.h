// The program's own settings key, HKEY_LOCAL_MACHINE "SOFTWARE\Tweakforge",
// and the comparisons its text values are read with.
#pragma once

#include <string>

namespace reg {
class TRegistry;
}

namespace tf::settings {

inline constexpr char KeyPath[] = "SOFTWARE\\Tweakforge";

// Sets the accessor to HKEY_LOCAL_MACHINE with lazy-write off and opens the
// settings key, creating it when missing.
void openSettingsKey(reg::TRegistry &key);

// The text value `name` is exactly "Yes" (or "No"): case matters, so "yes"
// is neither. A missing value reads as "" and is neither.
bool isYes(reg::TRegistry &key, const std::string &name);
bool isNo(reg::TRegistry &key, const std::string &name);

// Writes "Yes" or "No".
void writeYesNo(reg::TRegistry &key, const std::string &name, bool yes);

} // namespace tf::settings
