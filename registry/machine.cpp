#include "registry/machine.h"

#include "registry/errors.h"
#include "registry/hive_file.h"
#include "registry/seed.h"
#include "registry/value.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace reg {

namespace {

std::string environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? value : "";
}

fs::path homeDirectory() {
  std::string home = environment("HOME");
  if (!home.empty())
    return home;
  if (const passwd *entry = getpwuid(getuid()))
    return entry->pw_dir;
  return "/";
}

// The same directory spelled one way: "a/./b/" and "a/b" compare equal.
fs::path normalized(const fs::path &path) {
  fs::path result = path.lexically_normal();
  if (!result.has_filename() && result != result.root_path())
    result = result.parent_path();
  return result;
}

std::string systemError(const std::string &what) {
  return what + ": " + std::strerror(errno);
}

class FileDescriptor {
public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : Fd(fd) {}
  FileDescriptor(FileDescriptor &&other) noexcept
      : Fd(std::exchange(other.Fd, -1)) {}
  FileDescriptor &operator=(FileDescriptor &&other) noexcept {
    std::swap(Fd, other.Fd);
    return *this;
  }
  ~FileDescriptor() {
    if (Fd >= 0)
      ::close(Fd);
  }
  int get() const { return Fd; }
  explicit operator bool() const { return Fd >= 0; }

private:
  int Fd = -1;
};

// What tells one version of a hive file from another. A file replaced by a
// rename has a new inode; one rewritten in place a new size or time.
struct FileStamp {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  std::int64_t ModifiedNs = 0;

  static FileStamp of(const struct stat &info) {
    return {true, info.st_dev, info.st_ino, info.st_size,
            std::int64_t(info.st_mtim.tv_sec) * 1000000000 +
                info.st_mtim.tv_nsec};
  }
  static FileStamp ofPath(const fs::path &path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? of(info) : FileStamp{};
  }
  bool operator==(const FileStamp &) const = default;
};

const char *rootLine(HiveId hive) {
  return hive == HiveId::LocalMachine
             ? "REGISTRY\\\\Machine"
             : "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000";
}

// A hive as read from its file. The file stays open while the hive is in
// use, so that its inode cannot be reused by a later version of the file
// and the stamp comparison stays exact.
struct HiveFile {
  std::unique_ptr<Hive> Data;
  FileStamp Stamp;
  FileDescriptor Held;
};

std::string readAll(int fd, const fs::path &path) {
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0)
      return text;
    if (count < 0) {
      if (errno == EINTR)
        continue;
      throw RegistryError(systemError("Cannot read " + path.string()));
    }
    text.append(buffer, std::size_t(count));
  }
}

// The hive in the file at `path`, or an empty hive when there is no file.
HiveFile readHiveFile(const fs::path &path, HiveId hive) {
  HiveFile result;
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno != ENOENT)
      throw RegistryError(systemError("Cannot open " + path.string()));
    result.Data = std::make_unique<Hive>(rootLine(hive), "win32");
    return result;
  }
  struct stat info;
  if (::fstat(fd.get(), &info) != 0)
    throw RegistryError(systemError("Cannot read " + path.string()));
  result.Data = parseHive(readAll(fd.get(), path), path.string());
  result.Stamp = FileStamp::of(info);
  result.Held = std::move(fd);
  return result;
}

// The exclusive lock that Tweakforge processes take on the prefix while one
// of them saves a hive. Closing the file releases it, also when the process
// dies.
class PrefixLock {
public:
  explicit PrefixLock(const fs::path &prefix) {
    fs::path file = prefix / ".tweakforge.lock";
    Lock = FileDescriptor(
        ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!Lock)
      throw RegistryError(systemError("Cannot open " + file.string()));
    while (::flock(Lock.get(), LOCK_EX) != 0)
      if (errno != EINTR)
        throw RegistryError(systemError("Cannot lock " + file.string()));
  }

private:
  FileDescriptor Lock;
};

// The directory under which Wine servers keep their sockets and locks.
// TWEAKFORGE_WINE_TMPDIR replaces /tmp, so that tests can stage a server.
fs::path wineTmpDirectory() {
  std::string dir = environment("TWEAKFORGE_WINE_TMPDIR");
  return dir.empty() ? fs::path("/tmp") : fs::path(dir);
}

// The name Wine 8 writes to PREFIX/wineserver: its directory under /tmp.
std::optional<std::string> wineServerDirectoryName(const fs::path &prefix) {
  std::ifstream file(prefix / "wineserver");
  std::string name;
  if (!std::getline(file, name))
    return std::nullopt;
  name.erase(name.find_last_not_of(" \t\r") + 1);
  if (name.empty() || name == "." || name == ".." ||
      name.find('/') != std::string::npos)
    return std::nullopt;
  return name;
}

// The process holding a POSIX write lock on `file`, when one does.
std::optional<pid_t> lockHolder(const fs::path &file) {
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd)
    return std::nullopt;
  struct flock query {};
  query.l_type = F_WRLCK;
  query.l_whence = SEEK_SET;
  if (::fcntl(fd.get(), F_GETLK, &query) != 0 || query.l_type == F_UNLCK)
    return std::nullopt;
  return query.l_pid;
}

// A Wine server keeps a write lock on the file "lock" of its server
// directory, server-<dev>-<inode> of the prefix, under /tmp/<name from
// PREFIX/wineserver>/ (Wine 8) or /tmp/.wine-<uid>/ (older Wine).
std::optional<pid_t> wineServerProcess(const fs::path &prefix) {
  struct stat info;
  if (::stat(prefix.c_str(), &info) != 0)
    return std::nullopt;
  char server[64];
  std::snprintf(server, sizeof server, "server-%llx-%llx",
                static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  fs::path tmp = wineTmpDirectory();
  std::vector<fs::path> locks;
  if (auto name = wineServerDirectoryName(prefix))
    locks.push_back(tmp / *name / server / "lock");
  locks.push_back(tmp / (".wine-" + std::to_string(getuid())) / server /
                  "lock");
  for (const fs::path &lock : locks)
    if (auto pid = lockHolder(lock))
      return pid;
  return std::nullopt;
}

void refuseWhileWineRuns(const fs::path &prefix) {
  if (auto pid = wineServerProcess(prefix))
    throw RegistryError("Wine is running for the prefix " + prefix.string() +
                        " (wineserver process " + std::to_string(*pid) +
                        "): close its Windows programs or run `wineserver "
                        "-k`; nothing was written");
}

void linkDrive(const fs::path &prefix, const char *drive, const char *target) {
  fs::path link = prefix / "dosdevices" / drive;
  if (!fs::exists(fs::symlink_status(link)))
    fs::create_directory_symlink(target, link);
}

void writeSeed(const fs::path &file, std::string_view text) {
  if (fs::exists(fs::symlink_status(file)))
    return;
  std::unique_ptr<Hive> hive =
      parseHive(std::string(text), "seed " + file.filename().string());
  saveHiveFile(*hive, file);
}

std::mutex CurrentMutex;
std::shared_ptr<Machine> CurrentMachine;

// The machines whose flushes the calling thread's SaveGroups hold back.
struct GroupState {
  int Depth = 0;
  std::vector<std::shared_ptr<Machine>> Pending;
};
thread_local GroupState Group;

} // namespace

// One change of the journal. The same change is applied once when it is
// made and again to a newer version of the file when another program
// changed the file before the save.
struct Machine::Change {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue, RenameValue };
  Kind What;
  KeyPath Path{};
  std::u16string Name{}; // the value; for a rename, the old name
  std::u16string NewName{};
  std::uint32_t Type = REG_NONE;
  std::vector<std::uint8_t> Data{};

  // False when the change does nothing to `hive`. A value set on a key that
  // another program removed meanwhile recreates the key on replay, so that
  // no write is lost.
  bool applyTo(Hive &hive, bool replaying) const {
    switch (What) {
    case Kind::CreateKey:
      hive.ensure(Path);
      return true;
    case Kind::DeleteKey:
      return !Path.empty() && hive.remove(Path);
    case Kind::SetValue: {
      Key *key = replaying ? &hive.ensure(Path) : hive.find(Path);
      if (!key)
        return false;
      key->setValue(Name, Type, Data);
      return true;
    }
    case Kind::DeleteValue: {
      Key *key = hive.find(Path);
      return key && key->removeValue(Name);
    }
    case Kind::RenameValue:
      return rename(hive.find(Path));
    }
    return false;
  }

private:
  bool rename(Key *key) const {
    if (!key || key->findValue(NewName))
      return false;
    const Value *old = key->findValue(Name);
    if (!old || old->data.empty())
      return false;
    std::uint32_t type = old->type;
    std::vector<std::uint8_t> data = old->data;
    key->removeValue(Name);
    key->setValue(NewName, type, std::move(data));
    return true;
  }
};

struct Machine::HiveState {
  HiveId Id;
  fs::path File;
  HiveFile Loaded;
  std::vector<Change> Journal;

  bool isLoaded() const { return Loaded.Data != nullptr; }
  Hive &hive() { return *Loaded.Data; }
  bool changedOnDisk() const { return FileStamp::ofPath(File) != Loaded.Stamp; }
  void reload() { Loaded = readHiveFile(File, Id); }
  // After a save: the file now holds the hive as it is in memory.
  void holdSavedFile() {
    FileDescriptor fd(::open(File.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    bool known = fd && ::fstat(fd.get(), &info) == 0;
    Loaded.Stamp = known ? FileStamp::of(info) : FileStamp{};
    Loaded.Held = std::move(fd);
  }
};

Machine::Machine(fs::path prefix) : Prefix(std::move(prefix)) {
  for (HiveId id : {HiveId::LocalMachine, HiveId::CurrentUser}) {
    auto state = std::make_unique<HiveState>();
    state->Id = id;
    state->File = hiveFile(id);
    States[int(id)] = std::move(state);
  }
}

Machine::~Machine() = default;

fs::path Machine::ownPrefix() {
  fs::path data = environment("XDG_DATA_HOME");
  if (!data.is_absolute())
    data = homeDirectory() / ".local" / "share";
  return data / "tweakforge" / "machine";
}

fs::path Machine::defaultPrefix() {
  std::string wine = environment("WINEPREFIX");
  if (!wine.empty())
    return wine;
  fs::path dotWine = homeDirectory() / ".wine";
  std::error_code unreadable;
  if (fs::exists(dotWine / "system.reg", unreadable))
    return dotWine;
  return ownPrefix();
}

std::shared_ptr<Machine> Machine::open(const fs::path &prefix) {
  std::error_code unreadable;
  if (normalized(prefix) == normalized(ownPrefix()) &&
      !fs::exists(prefix / "system.reg", unreadable))
    return createSeeded(prefix);
  return std::shared_ptr<Machine>(new Machine(prefix));
}

std::shared_ptr<Machine> Machine::createSeeded(const fs::path &prefix) {
  try {
    fs::create_directories(prefix / "drive_c");
    fs::create_directories(prefix / "dosdevices");
    linkDrive(prefix, "c:", "../drive_c");
    linkDrive(prefix, "z:", "/");
    writeSeed(prefix / "system.reg", seed::systemHive());
    writeSeed(prefix / "user.reg", seed::userHive());
  } catch (const fs::filesystem_error &error) {
    throw RegistryError("Cannot create the prefix " + prefix.string() + ": " +
                        error.code().message());
  }
  return std::shared_ptr<Machine>(new Machine(prefix));
}

std::shared_ptr<Machine> Machine::current() {
  std::lock_guard lock(CurrentMutex);
  if (!CurrentMachine)
    CurrentMachine = open(defaultPrefix());
  return CurrentMachine;
}

void Machine::setCurrent(std::shared_ptr<Machine> machine) {
  std::lock_guard lock(CurrentMutex);
  CurrentMachine = std::move(machine);
}

const fs::path &Machine::prefix() const { return Prefix; }

fs::path Machine::hiveFile(HiveId hive) const {
  return Prefix / (hive == HiveId::LocalMachine ? "system.reg" : "user.reg");
}

Machine::HiveState &Machine::loaded(HiveId hive) {
  HiveState &state = *States[int(hive)];
  if (!state.isLoaded() || (state.Journal.empty() && state.changedOnDisk()))
    state.reload();
  return state;
}

bool Machine::record(HiveState &state, Change change) {
  if (!change.applyTo(state.hive(), false))
    return false;
  state.Journal.push_back(std::move(change));
  return true;
}

Key *Machine::findKey(HiveId hive, const KeyPath &path) {
  return loaded(hive).hive().find(path);
}

Key &Machine::createKey(HiveId hive, const KeyPath &path) {
  HiveState &state = loaded(hive);
  if (Key *key = state.hive().find(path))
    return *key;
  record(state, {.What = Change::Kind::CreateKey, .Path = path});
  return *state.hive().find(path);
}

bool Machine::deleteKey(HiveId hive, const KeyPath &path) {
  return record(loaded(hive), {.What = Change::Kind::DeleteKey, .Path = path});
}

bool Machine::setValue(HiveId hive, const KeyPath &path,
                       std::u16string_view name, std::uint32_t type,
                       std::vector<std::uint8_t> data) {
  return record(loaded(hive), {.What = Change::Kind::SetValue,
                               .Path = path,
                               .Name = std::u16string(name),
                               .Type = type,
                               .Data = std::move(data)});
}

bool Machine::deleteValue(HiveId hive, const KeyPath &path,
                          std::u16string_view name) {
  return record(loaded(hive), {.What = Change::Kind::DeleteValue,
                               .Path = path,
                               .Name = std::u16string(name)});
}

bool Machine::renameValue(HiveId hive, const KeyPath &path,
                          std::u16string_view oldName,
                          std::u16string_view newName) {
  return record(loaded(hive), {.What = Change::Kind::RenameValue,
                               .Path = path,
                               .Name = std::u16string(oldName),
                               .NewName = std::u16string(newName)});
}

bool Machine::hasUnsavedChanges() const {
  return std::any_of(std::begin(States), std::end(States),
                     [](const auto &state) { return !state->Journal.empty(); });
}

void Machine::flush() {
  if (Group.Depth == 0) {
    saveAll();
    return;
  }
  std::shared_ptr<Machine> self = shared_from_this();
  if (std::find(Group.Pending.begin(), Group.Pending.end(), self) ==
      Group.Pending.end())
    Group.Pending.push_back(std::move(self));
}

void Machine::saveAll() {
  std::exception_ptr firstError;
  for (HiveId hive : {HiveId::LocalMachine, HiveId::CurrentUser}) {
    try {
      save(hive);
    } catch (...) {
      if (!firstError)
        firstError = std::current_exception();
    }
  }
  if (firstError)
    std::rethrow_exception(firstError);
}

void Machine::save(HiveId hive) {
  HiveState &state = *States[int(hive)];
  if (state.Journal.empty())
    return;
  std::error_code ignored; // a missing prefix shows when the lock fails
  fs::create_directories(Prefix, ignored);
  PrefixLock lock(Prefix);
  refuseWhileWineRuns(Prefix);
  if (state.changedOnDisk()) {
    state.reload();
    for (const Change &change : state.Journal)
      change.applyTo(state.hive(), true);
  }
  saveHiveFile(state.hive(), state.File);
  ++SaveCount;
  state.Journal.clear();
  state.holdSavedFile();
}

SaveGroup::SaveGroup() { ++Group.Depth; }

SaveGroup::~SaveGroup() {
  if (--Group.Depth > 0)
    return;
  try {
    commit();
  } catch (const std::exception &) {
    // The changes stay unsaved; the next flush tries again.
  }
}

void SaveGroup::commit() {
  std::vector<std::shared_ptr<Machine>> pending;
  pending.swap(Group.Pending);
  std::exception_ptr firstError;
  for (const auto &machine : pending) {
    try {
      machine->saveAll();
    } catch (...) {
      if (!firstError)
        firstError = std::current_exception();
    }
  }
  if (firstError)
    std::rethrow_exception(firstError);
}

} // namespace reg
