#include "registry/registry.h"

#include "registry/errors.h"
#include "registry/text.h"

#include <string_view>

namespace reg {

namespace {

RegistryError invalidDataType(const std::string &name) {
  return RegistryError("Invalid data type for '" + name + "'");
}

RegistryError failedToGetData(const std::string &name) {
  return RegistryError("Failed to get data for '" + name + "'");
}

RegistryError failedToSetData(const std::string &name) {
  return RegistryError("Failed to set data for '" + name + "'");
}

std::vector<std::uint8_t> dwordData(std::uint32_t value) {
  return {std::uint8_t(value), std::uint8_t(value >> 8),
          std::uint8_t(value >> 16), std::uint8_t(value >> 24)};
}

} // namespace

TRegistry::TRegistry() : TRegistry(Machine::current()) {}

TRegistry::TRegistry(std::shared_ptr<Machine> machine)
    : M(std::move(machine)) {}

TRegistry::~TRegistry() {
  try {
    M->flush();
  } catch (const std::exception &) {
    // Left unsaved; the next flush of the machine tries again.
  }
}

void TRegistry::setRootKey(RootKey root) {
  if (root == Root)
    return;
  if (KeyOpen)
    CloseKey();
  Root = root;
}

HiveId TRegistry::hive() const {
  return Root == RootKey::CurrentUser ? HiveId::CurrentUser
                                      : HiveId::LocalMachine;
}

KeyPath TRegistry::inHive(const KeyPath &fromRoot) const {
  KeyPath path;
  if (Root == RootKey::ClassesRoot)
    path = {u"Software", u"Classes"};
  path.insert(path.end(), fromRoot.begin(), fromRoot.end());
  return path;
}

std::optional<KeyPath> TRegistry::resolve(const std::string &path) const {
  std::string_view rest = path;
  bool fromRoot = rest.starts_with('\\');
  if (fromRoot)
    rest.remove_prefix(1);
  KeyPath result = KeyOpen && !fromRoot ? CurrentPath : KeyPath{};
  if (rest.empty())
    return result;
  for (;;) {
    std::size_t end = rest.find('\\');
    std::string_view component = rest.substr(0, end);
    if (component.empty())
      return std::nullopt;
    result.push_back(toUtf16(component));
    if (end == std::string_view::npos)
      return result;
    rest.remove_prefix(end + 1);
  }
}

bool TRegistry::OpenKey(const std::string &path, bool canCreate) {
  std::optional<KeyPath> target = resolve(path);
  KeyOpen = false;
  CurrentPath.clear();
  if (!target)
    return false;
  if (canCreate)
    M->createKey(hive(), inHive(*target));
  else if (!M->findKey(hive(), inHive(*target)))
    return false;
  CurrentPath = std::move(*target);
  KeyOpen = true;
  return true;
}

void TRegistry::CloseKey() {
  KeyOpen = false;
  CurrentPath.clear();
  // Also with no key open: a DeleteKey from the root is saved this way.
  if (!LazyWrite)
    M->flush();
}

std::string TRegistry::currentPath() const {
  std::string path;
  for (const std::u16string &name : CurrentPath) {
    if (!path.empty())
      path += '\\';
    path += toUtf8(name);
  }
  return path;
}

const Value *TRegistry::openValue(const std::string &name) {
  if (!KeyOpen)
    return nullptr;
  Key *key = M->findKey(hive(), inHive(CurrentPath));
  return key ? key->findValue(toUtf16(name)) : nullptr;
}

void TRegistry::writeValue(const std::string &name, std::uint32_t type,
                           std::vector<std::uint8_t> data) {
  if (!KeyOpen || !M->setValue(hive(), inHive(CurrentPath), toUtf16(name), type,
                               std::move(data)))
    throw failedToSetData(name);
}

std::string TRegistry::ReadString(const std::string &name) {
  const Value *value = openValue(name);
  if (!value || value->data.empty())
    return "";
  if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
    throw invalidDataType(name);
  return toUtf8(stringFromData(value->data));
}

void TRegistry::WriteString(const std::string &name, const std::string &text) {
  writeValue(name, REG_SZ, stringData(toUtf16(text)));
}

std::int32_t TRegistry::ReadInteger(const std::string &name) {
  const Value *value = openValue(name);
  if (!value || value->data.size() > 4)
    throw failedToGetData(name);
  if (value->type != REG_DWORD)
    throw invalidDataType(name);
  std::uint32_t result = 0;
  for (std::size_t i = 0; i < value->data.size(); ++i)
    result |= std::uint32_t(value->data[i]) << (8 * i);
  return std::int32_t(result);
}

void TRegistry::WriteInteger(const std::string &name, std::int32_t value) {
  writeValue(name, REG_DWORD, dwordData(std::uint32_t(value)));
}

bool TRegistry::ReadBool(const std::string &name) {
  return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const std::string &name, bool value) {
  WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::ValueExists(const std::string &name) {
  try {
    return openValue(name) != nullptr;
  } catch (const RegistryError &) {
    return false;
  }
}

bool TRegistry::KeyExists(const std::string &path) {
  std::optional<KeyPath> target = resolve(path);
  try {
    return target && M->findKey(hive(), inHive(*target));
  } catch (const RegistryError &) {
    return false;
  }
}

bool TRegistry::DeleteKey(const std::string &path) {
  // "" and "\" name the open key or the root, which are never deleted.
  std::optional<KeyPath> target = resolve(path);
  if (!target || path.empty() || path == "\\")
    return false;
  return M->deleteKey(hive(), inHive(*target));
}

bool TRegistry::DeleteValue(const std::string &name) {
  return KeyOpen && M->deleteValue(hive(), inHive(CurrentPath), toUtf16(name));
}

void TRegistry::RenameValue(const std::string &oldName,
                            const std::string &newName) {
  if (KeyOpen)
    M->renameValue(hive(), inHive(CurrentPath), toUtf16(oldName),
                   toUtf16(newName));
}

void TRegistry::GetKeyNames(std::vector<std::string> &names) {
  names.clear();
  if (!KeyOpen)
    return;
  Key *key = M->findKey(hive(), inHive(CurrentPath));
  for (std::size_t i = 0; key && i < key->childCount(); ++i)
    names.push_back(toUtf8(key->childAt(i).name()));
}

} // namespace reg
