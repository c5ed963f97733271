// TRegistry: the accessor through which every page reads and writes the
// registry. Each handler creates its own accessors, sets the root, turns
// lazy-write off, opens one key at a time, works on it and closes it.
#pragma once

#include "registry/machine.h"
#include "registry/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace reg {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine };

inline constexpr RootKey HKEY_CLASSES_ROOT = RootKey::ClassesRoot;
inline constexpr RootKey HKEY_CURRENT_USER = RootKey::CurrentUser;
inline constexpr RootKey HKEY_LOCAL_MACHINE = RootKey::LocalMachine;

// All names and texts are UTF-8. Failures throw RegistryError with the texts
// "Invalid data type for '%s'", "Failed to get data for '%s'" and
// "Failed to set data for '%s'" (the value name in place of %s).
class TRegistry {
public:
  // On the process's current machine (Machine::current()).
  TRegistry();
  explicit TRegistry(std::shared_ptr<Machine> machine);
  // Saves what is left unsaved (lazy-write on), swallowing errors.
  ~TRegistry();
  TRegistry(const TRegistry &) = delete;
  TRegistry &operator=(const TRegistry &) = delete;

  // The root; changing it closes the open key. HKEY_CURRENT_USER at first.
  void setRootKey(RootKey root);
  RootKey rootKey() const { return Root; }
  // With lazy-write off, CloseKey puts what was written on disk (or, inside
  // a SaveGroup, the end of the group does). With it on, the accessor's end
  // or the next flush of the machine does. On at first.
  void setLazyWrite(bool lazy) { LazyWrite = lazy; }
  bool lazyWrite() const { return LazyWrite; }

  // "\a\b" is taken from the root; "a\b" from the open key if one is open,
  // else from the root. A path with an empty component ("a\\b", "a\")
  // never opens, creates or deletes anything. "" is the open key (or the
  // root); DeleteKey never deletes it. A failed OpenKey leaves no key open.
  bool OpenKey(const std::string &path, bool canCreate);
  void CloseKey();
  bool hasOpenKey() const { return KeyOpen; }
  // The open key's path from the root, components joined by "\".
  std::string currentPath() const;

  std::string ReadString(const std::string &name);
  void WriteString(const std::string &name, const std::string &text);
  std::int32_t ReadInteger(const std::string &name);
  void WriteInteger(const std::string &name, std::int32_t value);
  bool ReadBool(const std::string &name);
  void WriteBool(const std::string &name, bool value);

  bool ValueExists(const std::string &name);
  bool KeyExists(const std::string &path);
  bool DeleteKey(const std::string &path);
  bool DeleteValue(const std::string &name);
  void RenameValue(const std::string &oldName, const std::string &newName);
  void GetKeyNames(std::vector<std::string> &names);

private:
  HiveId hive() const;
  // The hive path of a key given by its path from the root.
  KeyPath inHive(const KeyPath &fromRoot) const;
  // `path` as a path from the root, following the path rules above;
  // nullopt when it has an empty component.
  std::optional<KeyPath> resolve(const std::string &path) const;
  // The value `name` of the open key; nullptr when there is none.
  const Value *openValue(const std::string &name);
  void writeValue(const std::string &name, std::uint32_t type,
                  std::vector<std::uint8_t> data);

  std::shared_ptr<Machine> M;
  RootKey Root = RootKey::CurrentUser;
  bool LazyWrite = true;
  bool KeyOpen = false;
  KeyPath CurrentPath; // from the root
};

} // namespace reg
