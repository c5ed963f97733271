#include "registry/dos_path.h"

#include "registry/errors.h"
#include "registry/machine.h"
#include "registry/text.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace reg {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isDriveLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

struct DosPath {
  char Drive = 'c';
  std::vector<std::string> Components;
};

// "C:\a\.\b\..\c" -> drive c, components a, c. nullopt for relative paths
// ("a\b", "C:a") and network paths ("\\server\share").
std::optional<DosPath> parseDosPath(std::string_view text) {
  DosPath path;
  if (text.size() >= 2 && isDriveLetter(text[0]) && text[1] == ':') {
    path.Drive = lower(text[0]);
    text.remove_prefix(2);
    if (!text.empty() && !isSeparator(text[0]))
      return std::nullopt;
  } else if (text.empty() || !isSeparator(text[0]) ||
             (text.size() >= 2 && isSeparator(text[1]))) {
    return std::nullopt;
  }
  while (!text.empty()) {
    std::size_t end = 0;
    while (end < text.size() && !isSeparator(text[end]))
      ++end;
    std::string component(text.substr(0, end));
    text.remove_prefix(end < text.size() ? end + 1 : end);
    if (component == "..") {
      if (!path.Components.empty())
        path.Components.pop_back();
    } else if (!component.empty() && component != ".") {
      path.Components.push_back(std::move(component));
    }
  }
  return path;
}

fs::path dosDevices(const Machine &machine) {
  return machine.prefix() / "dosdevices";
}

// The directory a drive entry of dosdevices/ stands for.
std::optional<fs::path> driveTarget(const Machine &machine, char drive) {
  fs::path entry = dosDevices(machine) / std::string{drive, ':'};
  std::error_code error;
  fs::file_status status = fs::symlink_status(entry, error);
  if (error || !fs::exists(status))
    return std::nullopt;
  if (!fs::is_symlink(status))
    return entry;
  fs::path target = fs::read_symlink(entry, error);
  if (error)
    return std::nullopt;
  return (entry.parent_path() / target).lexically_normal();
}

// `name` in `dir`, matched as Wine does: the exact name when it exists, else
// an entry equal but for case (the first in name order), else `name` itself.
fs::path matchEntry(const fs::path &dir, const std::string &name) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(dir / name, error)))
    return dir / name;
  std::u16string wanted = toUtf16(name);
  std::optional<std::string> match;
  for (const fs::directory_entry &entry : fs::directory_iterator(dir, error)) {
    std::string candidate = entry.path().filename().string();
    if (namesEqual(toUtf16(candidate), wanted) &&
        (!match || candidate < *match))
      match = candidate;
  }
  return dir / match.value_or(name);
}

} // namespace

std::optional<fs::path> dosToHost(const Machine &machine,
                                  std::string_view dosPath) {
  std::optional<DosPath> path = parseDosPath(dosPath);
  if (!path)
    return std::nullopt;
  std::optional<fs::path> host = driveTarget(machine, path->Drive);
  if (!host)
    return std::nullopt;
  for (const std::string &component : path->Components)
    host = matchEntry(*host, component);
  return host;
}

std::optional<std::string> hostToDos(const Machine &machine,
                                     const fs::path &hostPath) {
  std::error_code error;
  fs::path host = fs::weakly_canonical(fs::absolute(hostPath), error);
  if (error)
    return std::nullopt;
  std::optional<std::string> best;
  std::ptrdiff_t bestDepth = -1;
  for (const fs::directory_entry &entry :
       fs::directory_iterator(dosDevices(machine), error)) {
    std::string name = entry.path().filename().string();
    if (name.size() != 2 || !isDriveLetter(name[0]) || name[1] != ':')
      continue;
    std::error_code unresolved;
    fs::path target = fs::canonical(entry.path(), unresolved);
    fs::path relative = host.lexically_relative(target);
    if (unresolved || relative.empty() || *relative.begin() == "..")
      continue;
    std::ptrdiff_t depth = std::distance(target.begin(), target.end());
    if (depth <= bestDepth)
      continue;
    bestDepth = depth;
    std::string dos{char(name[0] & ~0x20), ':', '\\'};
    for (const fs::path &component : relative) {
      if (component == ".")
        continue;
      if (dos.back() != '\\')
        dos += '\\';
      dos += component.string();
    }
    best = dos;
  }
  return best;
}

void createDosFile(const Machine &machine, std::string_view dosPath,
                   std::string_view contents) {
  RegistryError failure("Cannot create file " + std::string(dosPath));
  std::optional<fs::path> host = dosToHost(machine, dosPath);
  if (!host)
    throw failure;
  std::error_code error; // a missing directory shows when the file fails
  fs::create_directories(host->parent_path(), error);
  std::ofstream file(*host, std::ios::binary | std::ios::trunc);
  file.write(contents.data(), std::streamsize(contents.size()));
  file.close();
  if (!file)
    throw failure;
}

} // namespace reg
