// The machine whose registry Tweakforge works on: a Wine-style prefix with
// the text hives system.reg (HKEY_LOCAL_MACHINE) and user.reg
// (HKEY_CURRENT_USER) and the drive directory drive_c/.
//
// Hives are loaded on first use. Changes are applied in memory at once and
// kept as a journal until the hive is saved. Saving takes the prefix's lock
// file (.tweakforge.lock), refuses while a Wine server runs for the prefix,
// replays the journal on the file when another program changed it meanwhile,
// and replaces the file durably. So two Tweakforge processes writing to one
// prefix lose no update, and a hive nobody changed is never rewritten.
//
// The Wine server lookup uses /tmp, or $TWEAKFORGE_WINE_TMPDIR when set (so
// that tests can stage a server's lock file). A Machine is used by one
// thread at a time.
#pragma once

#include "registry/hive.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace reg {

// The two hives of a machine. HKEY_CLASSES_ROOT is the key Software\Classes
// of LocalMachine, as on Windows 95.
enum class HiveId { LocalMachine, CurrentUser };

// A key's place in its hive: the key names from the hive's root down.
using KeyPath = std::vector<std::u16string>;

class Machine : public std::enable_shared_from_this<Machine> {
public:
  // The prefix to use: $WINEPREFIX when set; else ~/.wine when it holds a
  // system.reg; else Tweakforge's own machine, ownPrefix().
  static std::filesystem::path defaultPrefix();
  // Tweakforge's own machine: $XDG_DATA_HOME/tweakforge/machine
  // (~/.local/share/tweakforge/machine when XDG_DATA_HOME is unset).
  static std::filesystem::path ownPrefix();

  // Opens the prefix at `prefix`. Tweakforge's own machine, when missing, is
  // created and seeded with a fresh Windows 95 registry. A prefix directory
  // without hives is used as it is: its hives are created on first save.
  static std::shared_ptr<Machine> open(const std::filesystem::path &prefix);
  // Creates `prefix` as a prefix-shaped directory (system.reg, user.reg,
  // drive_c/, dosdevices/c: -> ../drive_c, dosdevices/z: -> /) seeded with a
  // fresh Windows 95 registry. Hive files and drives already there are kept.
  static std::shared_ptr<Machine>
  createSeeded(const std::filesystem::path &prefix);

  // The machine every accessor made without one uses; opened from
  // defaultPrefix() on first use unless set. setCurrent(nullptr) makes the
  // next current() open defaultPrefix() again.
  static std::shared_ptr<Machine> current();
  static void setCurrent(std::shared_ptr<Machine> machine);

  Machine(const Machine &) = delete;
  Machine &operator=(const Machine &) = delete;
  ~Machine();

  const std::filesystem::path &prefix() const;
  // PREFIX/system.reg or PREFIX/user.reg.
  std::filesystem::path hiveFile(HiveId hive) const;

  // The key at `path`, nullptr when it is missing. The hive is loaded on
  // first use, and read again when it has no unsaved changes and its file
  // changed on disk; a file that does not parse throws RegistryError
  // ("PATH:LINE: ..."). The pointer is valid until the next call on this
  // machine.
  Key *findKey(HiveId hive, const KeyPath &path);

  // Changes, applied at once and saved by flush().
  // Creates the key and every missing key above it.
  Key &createKey(HiveId hive, const KeyPath &path);
  // Removes the key with everything below it; false when it is missing or
  // is the hive's root.
  bool deleteKey(HiveId hive, const KeyPath &path);
  // Creates or replaces a value; false when the key is missing.
  bool setValue(HiveId hive, const KeyPath &path, std::u16string_view name,
                std::uint32_t type, std::vector<std::uint8_t> data);
  bool deleteValue(HiveId hive, const KeyPath &path, std::u16string_view name);
  // Gives the value `oldName` the name `newName`, type and data unchanged.
  // Does nothing (false) when `oldName` is missing or has no data, or
  // `newName` exists.
  bool renameValue(HiveId hive, const KeyPath &path,
                   std::u16string_view oldName, std::u16string_view newName);

  bool hasUnsavedChanges() const;

  // Saves every hive with unsaved changes now; inside a SaveGroup, at the
  // end of the outermost group instead. Throws RegistryError when a save is
  // refused (Wine runs for the prefix, a hive file does not parse, the disk
  // fails); the changes stay unsaved then, and nothing was written.
  void flush();

  // How many times this machine has written a hive file.
  std::size_t saveCount() const { return SaveCount; }

private:
  friend class SaveGroup;
  struct Change;
  struct HiveState;
  explicit Machine(std::filesystem::path prefix);

  HiveState &loaded(HiveId hive);
  bool record(HiveState &state, Change change);
  void saveAll();
  void save(HiveId hive);

  std::filesystem::path Prefix;
  std::unique_ptr<HiveState> States[2];
  std::size_t SaveCount = 0;
};

// While a SaveGroup lives, flushes that accessors ask for are held back and
// done once when the outermost group ends (or commit() is called), so a
// handler that writes twenty values rewrites each hive once. Groups nest;
// they are per thread.
class SaveGroup {
public:
  SaveGroup();
  ~SaveGroup(); // commits, swallowing errors; call commit() to see them
  SaveGroup(const SaveGroup &) = delete;
  SaveGroup &operator=(const SaveGroup &) = delete;
  // Saves now what the calling thread's groups held back; throws
  // RegistryError on failure. Static, so code that confirms a change to the
  // user can first make sure the change is on disk.
  static void commit();
};

} // namespace reg
