// A test on a temporary seeded prefix with the scripted fake desktop.
#pragma once

#include "tests/support/fake_platform.h"
#include "tests/support/temp_prefix.h"

#include <gtest/gtest.h>

#include <memory>

namespace tf::test {

class PrefixTest : public ::testing::Test {
protected:
  // Starts over on an empty prefix, for the next case of a table.
  void freshPrefix() {
    Prefix.reset();
    Prefix = std::make_unique<TempPrefix>(TempPrefix::Content::Seeded);
  }

  std::unique_ptr<TempPrefix> Prefix =
      std::make_unique<TempPrefix>(TempPrefix::Content::Seeded);
  ScopedFakePlatform Desktop;
};

} // namespace tf::test
