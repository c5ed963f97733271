// A temporary prefix with helpers for the settings key, and a recording
// stand-in for the main window.
#pragma once

#include "registry/registry.h"
#include "settings/settings_key.h"
#include "tests/settings/recording_target.h"
#include "tests/support/prefix_fixture.h"

namespace tf::test {

class SettingsKeyTest : public PrefixTest {
protected:
  void setText(const std::string &name, const std::string &data) {
    Prefix->writeString(reg::HKEY_LOCAL_MACHINE, settings::KeyPath, name, data);
  }
  void setNumber(const std::string &name, std::int32_t data) {
    Prefix->writeInteger(reg::HKEY_LOCAL_MACHINE, settings::KeyPath, name,
                         data);
  }
  std::optional<std::string> savedText(const std::string &name) const {
    return Prefix->savedString(reg::HKEY_LOCAL_MACHINE, settings::KeyPath,
                               name);
  }
  std::optional<std::int32_t> savedNumber(const std::string &name) const {
    return Prefix->savedInteger(reg::HKEY_LOCAL_MACHINE, settings::KeyPath,
                                name);
  }

  RecordingTarget Target;
};

} // namespace tf::test
