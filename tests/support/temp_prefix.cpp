#include "tests/support/temp_prefix.h"

#include "registry/machine.h"

#include <gtest/gtest.h>

namespace tf::test {

namespace fs = std::filesystem;

namespace {

void makeDrives(const fs::path &prefix) {
  fs::create_directories(prefix / "drive_c");
  fs::create_directories(prefix / "dosdevices");
  fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
  fs::create_directory_symlink("/", prefix / "dosdevices" / "z:");
}

void copyFixture(const fs::path &prefix) {
  const fs::path fixture = fs::path(TF_FIXTURES_DIR) / "wine-8.0-prefix";
  for (const char *hive : {"system.reg", "user.reg", "userdef.reg"})
    fs::copy_file(fixture / hive, prefix / hive);
}

// An accessor on a machine freshly opened from the prefix's files, with
// `key` opened for reading; nothing when the key does not exist.
std::unique_ptr<reg::TRegistry>
openSaved(const fs::path &prefix, reg::RootKey root, const std::string &key) {
  auto registry = std::make_unique<reg::TRegistry>(reg::Machine::open(prefix));
  registry->setRootKey(root);
  if (!registry->OpenKey(key, false))
    return nullptr;
  return registry;
}

// A value of `key` read by `read`; nothing when the key or value is missing.
template <typename Read>
auto readSaved(const fs::path &prefix, reg::RootKey root,
               const std::string &key, const std::string &name, Read read)
    -> std::optional<decltype(read(std::declval<reg::TRegistry &>()))> {
  auto registry = openSaved(prefix, root, key);
  if (!registry || !registry->ValueExists(name))
    return std::nullopt;
  return read(*registry);
}

template <typename Write>
void writeValue(reg::RootKey root, const std::string &key, Write write) {
  reg::TRegistry registry;
  registry.setRootKey(root);
  registry.setLazyWrite(false);
  ASSERT_TRUE(registry.OpenKey(key, true)) << key;
  write(registry);
  registry.CloseKey();
}

} // namespace

TempPrefix::TempPrefix(Content content) {
  EXPECT_TRUE(Dir.isValid());
  Path = fs::path(Dir.path().toStdString()) / "prefix";
  switch (content) {
  case Content::Seeded:
    Current = reg::Machine::createSeeded(Path);
    break;
  case Content::Fixture:
    makeDrives(Path);
    copyFixture(Path);
    Current = reg::Machine::open(Path);
    break;
  case Content::Empty:
    makeDrives(Path);
    Current = reg::Machine::open(Path);
    break;
  }
  reg::Machine::setCurrent(Current);
}

TempPrefix::~TempPrefix() { reg::Machine::setCurrent(nullptr); }

std::optional<std::string>
TempPrefix::savedString(reg::RootKey root, const std::string &key,
                        const std::string &name) const {
  return readSaved(Path, root, key, name, [&](reg::TRegistry &registry) {
    return registry.ReadString(name);
  });
}

std::optional<std::int32_t>
TempPrefix::savedInteger(reg::RootKey root, const std::string &key,
                         const std::string &name) const {
  return readSaved(Path, root, key, name, [&](reg::TRegistry &registry) {
    return registry.ReadInteger(name);
  });
}

bool TempPrefix::savedKeyExists(reg::RootKey root,
                                const std::string &key) const {
  return openSaved(Path, root, key) != nullptr;
}

void TempPrefix::writeString(reg::RootKey root, const std::string &key,
                             const std::string &name, const std::string &data) {
  writeValue(root, key, [&](reg::TRegistry &registry) {
    registry.WriteString(name, data);
  });
}

void TempPrefix::writeInteger(reg::RootKey root, const std::string &key,
                              const std::string &name, std::int32_t data) {
  writeValue(root, key, [&](reg::TRegistry &registry) {
    registry.WriteInteger(name, data);
  });
}

} // namespace tf::test
