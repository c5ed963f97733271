#include "settings/settings_steps.h"

#include "tweaks/common/registry_key.h"

namespace tf {

namespace {

void writeWhenMissing(reg::TRegistry &registry, const char *name,
                      const char *data) {
  if (!registry.ValueExists(name))
    registry.WriteString(name, data);
}

void openOnly(reg::TRegistry &) {}

} // namespace

void KeyOnlySettingsSteps::atCreation(TForm1 &) {
  withKey(reg::HKEY_LOCAL_MACHINE, SettingsKey, [](reg::TRegistry &registry) {
    writeWhenMissing(registry, "Nice", "Yes");
    writeWhenMissing(registry, "Save", "Yes");
  });
}

void KeyOnlySettingsSteps::atFirstShowing(TForm1 &) {
  withKey(reg::HKEY_LOCAL_MACHINE, SettingsKey, openOnly);
}

void KeyOnlySettingsSteps::atExit(TForm1 &) {
  withKey(reg::HKEY_LOCAL_MACHINE, SettingsKey, openOnly);
}

std::unique_ptr<SettingsSteps> makeSettingsSteps() {
  return std::make_unique<KeyOnlySettingsSteps>();
}

} // namespace tf
