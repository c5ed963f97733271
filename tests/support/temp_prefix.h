// A temporary Wine-style prefix that is the current machine while the
// object lives, with helpers to look at what ended up in its hives on disk.
#pragma once

#include "registry/registry.h"

#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace reg {
class Machine;
}

namespace tf::test {

class TempPrefix {
public:
  enum class Content {
    Empty,   // drive_c and dosdevices only; hives appear on first save
    Seeded,  // a fresh Windows 95 registry
    Fixture, // a copy of the Wine 8.0 prefix's hives
  };

  explicit TempPrefix(Content content = Content::Empty);
  ~TempPrefix();
  TempPrefix(const TempPrefix &) = delete;
  TempPrefix &operator=(const TempPrefix &) = delete;

  const std::filesystem::path &path() const { return Path; }
  std::shared_ptr<reg::Machine> machine() const { return Current; }

  // Values as a fresh machine opened from the files reads them: what was
  // saved, not what one process holds in memory. Nothing when the key or
  // value is missing.
  std::optional<std::string> savedString(reg::RootKey root,
                                         const std::string &key,
                                         const std::string &name) const;
  std::optional<std::int32_t> savedInteger(reg::RootKey root,
                                           const std::string &key,
                                           const std::string &name) const;
  bool savedKeyExists(reg::RootKey root, const std::string &key) const;

  // Writes through the current machine and saves, to set up a case.
  void writeString(reg::RootKey root, const std::string &key,
                   const std::string &name, const std::string &data);
  void writeInteger(reg::RootKey root, const std::string &key,
                    const std::string &name, std::int32_t data);

private:
  QTemporaryDir Dir;
  std::filesystem::path Path;
  std::shared_ptr<reg::Machine> Current;
};

} // namespace tf::test
