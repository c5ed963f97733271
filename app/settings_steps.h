// The main window's steps on the settings key `HKEY_LOCAL_MACHINE`
// "SOFTWARE\Tweakforge": what FormCreate, FormShow and FormDestroy do with
// it. addSettingsAndLock (window_parts.h) provides them.
#pragma once

namespace tf {

class TForm1;

class SettingsSteps {
public:
  virtual ~SettingsSteps() = default;
  // FormCreate, steps 2 to 6: open the key, "Nice", "Save"/"Left"/"Top",
  // "Auto", close the key. The dialogs do not exist yet.
  virtual void atCreation(TForm1 &form) = 0;
  // FormShow, steps 1 to 6: open the key, "Wrap", "Show"/"Type", "Auto",
  // close the key, then the start-up password decision.
  virtual void atFirstShowing(TForm1 &form) = 0;
  // FormDestroy, steps 2 to 4: open the key, "Save"/"Left"/"Top", close.
  virtual void atExit(TForm1 &form) = 0;
};

} // namespace tf
