// The password values "Show" and "Type" of the settings key and the main
// window's copies of them.
#pragma once

#include <string>

class QString;

namespace reg {
class TRegistry;
}

namespace tf::security {

struct LockState;

// `FormShow` step 3, on the open settings key: writes "Show" = "2960RuTe"
// and "Type" = "Normal" when missing, copies "Show" into `Edit34` and an
// existing "Type" into `Edit35` (a "Type" written now leaves it unchanged).
void passwordValuesAtFirstShowing(reg::TRegistry &key, LockState &lock);

// `OfficeButton63Click`: reloads `Edit34` and `Edit35` from the registry; a
// missing value gives "".
void OfficeButton63Click(LockState &lock);

// Whether the start-up prompt `TForm6` is to be shown: only with a password
// set and a type other than "Not" and "Only".
bool needsStartupPrompt(const LockState &lock);

// The text value `name` of the open key as a QString.
QString readText(reg::TRegistry &key, const std::string &name);

} // namespace tf::security
