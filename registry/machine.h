// The machine whose registry Tweakforge works on: a Wine-style prefix with
// the text hives system.reg (HKEY_LOCAL_MACHINE) and user.reg
// (HKEY_CURRENT_USER) and the drive directory drive_c/.
#pragma once

#include <filesystem>
#include <memory>

namespace reg {

class Machine {
public:
  // The prefix to use: $WINEPREFIX when set; else ~/.wine when it holds a
  // system.reg; else Tweakforge's own machine under
  // $XDG_DATA_HOME/tweakforge/machine (~/.local/share/tweakforge/machine).
  static std::filesystem::path defaultPrefix();

  // Opens the prefix at `prefix`. Tweakforge's own machine, when missing, is
  // created and seeded with a fresh Windows 95 registry. A prefix directory
  // without hives is used as it is: its hives are created on first save.
  static std::shared_ptr<Machine> open(const std::filesystem::path &prefix);
  // Creates `prefix` as a prefix-shaped directory (system.reg, user.reg,
  // drive_c/, dosdevices/c:) seeded with a fresh Windows 95 registry.
  static std::shared_ptr<Machine> createSeeded(const std::filesystem::path &prefix);

  // The machine every accessor made without one uses; opened from
  // defaultPrefix() on first use unless set.
  static std::shared_ptr<Machine> current();
  static void setCurrent(std::shared_ptr<Machine> machine);

  const std::filesystem::path &prefix() const;

  // Saves every hive with unsaved changes now (see SaveGroup).
  void flush();

  // ... the rest is the registry layer's own (hives, change journal, locks).
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
  // Saves now what this group held back; throws RegistryError on failure.
  void commit();
};

} // namespace reg
