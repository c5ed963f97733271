// The registry of a fresh Windows 95 installation, as hive files in Wine's
// text format. Tweakforge's own machine starts from these. The texts are the
// files under resources/seed/, built into the library.
#pragma once

#include <string_view>

namespace reg::seed {

std::string_view systemHive(); // system.reg: HKEY_LOCAL_MACHINE
std::string_view userHive();   // user.reg: HKEY_CURRENT_USER

} // namespace reg::seed
