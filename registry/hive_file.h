// Wine's text hive format ("WINE REGISTRY Version 2"): reading and writing.
#pragma once

#include "registry/hive.h"

#include <filesystem>
#include <memory>
#include <string>

namespace reg {

// Parses a hive file's text. `displayName` (usually the file name,
// "system.reg") starts every error message: "system.reg:1234: ...".
// Throws RegistryError on text that is not a hive.
std::unique_ptr<Hive> parseHive(std::string text, std::string displayName);

// Reads and parses the file at `path`.
std::unique_ptr<Hive> loadHiveFile(const std::filesystem::path &path);

// The hive as file text. Unchanged keys are written back byte for byte as
// they were read; changed and new keys are written as Wine writes them.
std::string serializeHive(const Hive &hive);

// Writes the hive durably: a temporary file beside `path`, fsync, rename over
// `path`, fsync of the directory. A crash at any moment leaves either the old
// file or the new one. Marks the hive clean afterwards.
void saveHiveFile(Hive &hive, const std::filesystem::path &path);

} // namespace reg
