// A temporary prefix with helpers for the settings key, and a recording
// stand-in for the main window.
#pragma once

#include "registry/registry.h"
#include "settings/settings_key.h"
#include "tests/settings/recording_target.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_prefix.h"

#include <gtest/gtest.h>

#include <memory>

namespace tf::test {

class SettingsKeyTest : public ::testing::Test {
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

  // Starts over on an empty prefix, for the next case of a table.
  void freshPrefix() {
    Prefix.reset();
    Prefix = std::make_unique<TempPrefix>(TempPrefix::Content::Seeded);
  }

  std::unique_ptr<TempPrefix> Prefix =
      std::make_unique<TempPrefix>(TempPrefix::Content::Seeded);
  ScopedFakePlatform Desktop;
  RecordingTarget Target;
};

} // namespace tf::test
