// Temporary prefixes for tests: never the user's ~/.wine or real data.
#pragma once

#include "registry/machine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace tftest {

// A fresh directory under the temporary directory, removed with all it holds
// when the object goes.
class TempDir {
public:
  TempDir() {
    std::string name =
        (std::filesystem::temp_directory_path() / "tweakforge-test-XXXXXX")
            .string();
    if (!::mkdtemp(name.data()))
      throw std::runtime_error("mkdtemp failed");
    Path = name;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  const std::filesystem::path &path() const { return Path; }
  std::filesystem::path operator/(const std::string &name) const {
    return Path / name;
  }

private:
  std::filesystem::path Path;
};

// A temporary prefix seeded with the fresh Windows 95 registry.
struct TempPrefix {
  TempDir Dir;
  std::shared_ptr<reg::Machine> M = reg::Machine::createSeeded(Dir.path());

  std::filesystem::path file(const std::string &name) const {
    return Dir / name;
  }
};

inline std::string readFile(const std::filesystem::path &path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

inline void writeFile(const std::filesystem::path &path,
                      const std::string &text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Copies the hives that Wine 8.0 wrote (read-only fixtures) into `dir`,
// writable.
inline void copyWineFixture(const std::filesystem::path &dir) {
  namespace fs = std::filesystem;
  for (const char *hive : {"system.reg", "user.reg"}) {
    fs::copy_file(fs::path(TF_FIXTURES_DIR) / "wine-8.0-prefix" / hive,
                  dir / hive, fs::copy_options::overwrite_existing);
    fs::permissions(dir / hive, fs::perms::owner_write, fs::perm_options::add);
  }
}

// Sets (or, with nullopt, unsets) an environment variable for the life of
// the object.
class ScopedEnv {
public:
  ScopedEnv(const char *name, const std::optional<std::string> &value)
      : Name(name) {
    if (const char *old = std::getenv(name))
      Old = old;
    set(value);
  }
  ~ScopedEnv() { set(Old); }
  ScopedEnv(const ScopedEnv &) = delete;
  ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
  void set(const std::optional<std::string> &value) {
    if (value)
      ::setenv(Name, value->c_str(), 1);
    else
      ::unsetenv(Name);
  }
  const char *Name;
  std::optional<std::string> Old;
};

// Points HOME, XDG_DATA_HOME and WINEPREFIX of every test program that uses
// these helpers into a temporary directory, so that no test reaches the
// user's ~/.wine or Tweakforge's own machine by accident.
class IsolatedEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    Dir = std::make_unique<TempDir>();
    ::setenv("HOME", (*Dir / "home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (*Dir / "data").c_str(), 1);
    ::setenv("WINEPREFIX", (*Dir / "wine").c_str(), 1);
  }
  void TearDown() override { Dir.reset(); }

private:
  std::unique_ptr<TempDir> Dir;
};

inline ::testing::Environment *const Isolation =
    ::testing::AddGlobalTestEnvironment(new IsolatedEnvironment);

} // namespace tftest
