#include "registry/registry.h"
#include "tests/registry/temp_prefix.h"

#include <gtest/gtest.h>

TEST(TRegistryTest, Placeholder) { SUCCEED(); }
