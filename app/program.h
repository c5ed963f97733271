// The whole program put together: the main window with every category, the
// settings steps and the dialogs.
#pragma once

#include <functional>
#include <memory>

namespace tf {

class TForm1;

// Creates the main window (its FormCreate runs) with all the program's parts;
// `extra`, when given, adds to them after the program's own categories.
std::unique_ptr<TForm1>
createMainWindow(std::function<void(TForm1 &)> extra = {});

// The entry sequence: the application object, the main window, the message
// loop. An error escaping it is shown by the default error box; returns 0.
int runTweakforge(int argc, char **argv);

} // namespace tf
