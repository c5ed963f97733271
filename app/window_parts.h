// Composes the settings and the password lock into the main window: the
// settings steps of FormCreate, FormShow and FormDestroy, the File menu's
// "&Options", the "Password" menu, the policies gate and the dialogs
// `TForm5` to `TForm9`.
#pragma once

#include "app/main_window.h"

namespace tf {

void addSettingsAndLock(TForm1::Parts &parts);

} // namespace tf
