// The main window's steps on the settings key HKEY_LOCAL_MACHINE
// "SOFTWARE\Tweakforge", as far as they go yet: the key is opened at
// creation, first showing and exit, and "Nice" and "Save" get their
// defaults when missing.
#pragma once

#include "app/settings_steps.h"

namespace tf {

// The settings key, opened with create everywhere.
inline constexpr char SettingsKey[] = "SOFTWARE\\Tweakforge";

class KeyOnlySettingsSteps : public SettingsSteps {
public:
  void atCreation(TForm1 &form) override;
  void atFirstShowing(TForm1 &form) override;
  void atExit(TForm1 &form) override;
};

} // namespace tf
