// DOS paths of a prefix ("C:\WINDOWS\ShellNew\txt.txt") and the host files
// they stand for, mapped through the prefix's dosdevices/ as Wine does.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace reg {

class Machine;

// The host path of a DOS path. "\" and "/" both separate; "." and ".." are
// followed. A path from the root without a drive ("\txt.txt") is on C:,
// the program's current drive. Existing components are matched without
// regard to case; missing ones keep the case given. nullopt when the drive
// letter has no dosdevices entry or the path is not absolute.
std::optional<std::filesystem::path> dosToHost(const Machine &machine,
                                               std::string_view dosPath);

// The DOS path of a host path: through the drive whose target holds it,
// the longest match first (so z: -> / comes last). nullopt when no drive does.
std::optional<std::string> hostToDos(const Machine &machine,
                                     const std::filesystem::path &hostPath);

// Creates (or truncates) the file at `dosPath` with `contents`, creating
// missing directories. Throws RegistryError "Cannot create file <dosPath>".
void createDosFile(const Machine &machine, std::string_view dosPath,
                   std::string_view contents);

} // namespace reg
