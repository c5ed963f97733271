// Machine: the prefix, the seed, saving, reloading and SaveGroup.
#include "registry/machine.h"

#include "registry/errors.h"
#include "registry/registry.h"
#include "registry/text.h"
#include "tests/registry/temp_prefix.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace reg;
namespace fs = std::filesystem;

namespace {

struct FileIdentity {
  ino_t Inode;
  std::int64_t ModifiedNs;
  bool operator==(const FileIdentity &) const = default;
};

FileIdentity identity(const fs::path &file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return {info.st_ino, std::int64_t(info.st_mtim.tv_sec) * 1000000000 +
                           info.st_mtim.tv_nsec};
}

// Writes one value through an accessor, as a page's handler does.
void writeString(const std::shared_ptr<Machine> &machine, RootKey root,
                 const std::string &key, const std::string &name,
                 const std::string &text) {
  TRegistry registry(machine);
  registry.setRootKey(root);
  registry.setLazyWrite(false);
  ASSERT_TRUE(registry.OpenKey(key, true));
  registry.WriteString(name, text);
  registry.CloseKey();
}

std::string readString(const std::shared_ptr<Machine> &machine, RootKey root,
                       const std::string &key, const std::string &name) {
  TRegistry registry(machine);
  registry.setRootKey(root);
  if (!registry.OpenKey(key, false))
    return "<no key>";
  return registry.ValueExists(name) ? registry.ReadString(name) : "<no value>";
}

TEST(MachineSeedTest, CreatesAPrefixShapedDirectory) {
  tftest::TempDir dir;
  fs::path prefix = dir / "machine";
  Machine::createSeeded(prefix);
  EXPECT_TRUE(fs::is_regular_file(prefix / "system.reg"));
  EXPECT_TRUE(fs::is_regular_file(prefix / "user.reg"));
  EXPECT_TRUE(fs::is_directory(prefix / "drive_c"));
  EXPECT_EQ(fs::read_symlink(prefix / "dosdevices" / "c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(prefix / "dosdevices" / "z:"), "/");
  EXPECT_TRUE(fs::equivalent(prefix / "dosdevices" / "c:", prefix / "drive_c"));
  EXPECT_EQ(tftest::readFile(prefix / "system.reg")
                .rfind("WINE REGISTRY "
                       "Version 2\n",
                       0),
            0u);
}

TEST(MachineSeedTest, KeepsHivesAlreadyThere) {
  tftest::TempDir dir;
  Machine::createSeeded(dir.path());
  writeString(Machine::open(dir.path()), HKEY_CURRENT_USER, "Software\\Mine",
              "Kept", "yes");
  auto again = Machine::createSeeded(dir.path());
  EXPECT_EQ(readString(again, HKEY_CURRENT_USER, "Software\\Mine", "Kept"),
            "yes");
}

// What the pages read on a fresh machine.
TEST(MachineSeedTest, HoldsWhatAFreshWindows95Has) {
  struct Case {
    RootKey Root;
    const char *Key;
    const char *Name;
    const char *Text;
  };
  const char *const shellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const char *const currentVersion =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  const Case cases[] = {
      {HKEY_CURRENT_USER, shellFolders, "Desktop", "C:\\WINDOWS\\Desktop"},
      {HKEY_CURRENT_USER, shellFolders, "Start Menu",
       "C:\\WINDOWS\\Start Menu"},
      {HKEY_CURRENT_USER, shellFolders, "Startup",
       "C:\\WINDOWS\\Start Menu\\Programs\\StartUp"},
      {HKEY_CURRENT_USER, shellFolders, "Templates", "C:\\WINDOWS\\ShellNew"},
      {HKEY_CURRENT_USER, shellFolders, "Fonts", "C:\\WINDOWS\\FONTS"},
      {HKEY_CURRENT_USER, "Control Panel\\desktop\\WindowMetrics", "Minanimate",
       "<no value>"},
      {HKEY_CURRENT_USER, "Control Panel\\desktop", "MenuShowDelay",
       "<no value>"},
      {HKEY_CURRENT_USER, "AppEvents\\Schemes\\Apps\\.Default", "", "Windows"},
      {HKEY_LOCAL_MACHINE, currentVersion, "RegisteredOwner",
       "Windows 95 User"},
      {HKEY_LOCAL_MACHINE, currentVersion, "RegisteredOrganization", ""},
      {HKEY_LOCAL_MACHINE, currentVersion, "ProductId",
       "17395-OEM-0012345-67890"},
      {HKEY_LOCAL_MACHINE, currentVersion, "Plus! ProductId", "<no value>"},
      {HKEY_LOCAL_MACHINE,
       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", "SourcePath",
       "D:\\WIN95\\"},
      {HKEY_LOCAL_MACHINE,
       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\fault", "LogFile",
       "C:\\WINDOWS\\FAULTLOG.TXT"},
      {HKEY_LOCAL_MACHINE,
       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop"
       "\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}",
       "", "Recycle Bin"},
      {HKEY_CLASSES_ROOT, "Paint.Picture\\DefaultIcon", "",
       "C:\\PROGRA~1\\ACCESS~1\\MSPAINT.EXE,1"},
      {HKEY_CLASSES_ROOT,
       "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", "",
       "explorer.exe,0"},
      {HKEY_CLASSES_ROOT,
       "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\Open", "",
       "<no key>"},
      {HKEY_CLASSES_ROOT, "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", "",
       "Recycle Bin"},
      {HKEY_CLASSES_ROOT,
       "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "Full",
       "shell32.dll,32"},
      {HKEY_CLASSES_ROOT, "lnkfile", "IsShortCut", ""},
      {HKEY_CLASSES_ROOT, "piffile", "IsShortCut", ""},
      {HKEY_CLASSES_ROOT, "Unknown\\shell\\openas\\command", "",
       "C:\\WINDOWS\\rundll32.exe shell32.dll,OpenAs_RunDLL %1"},
      {HKEY_CLASSES_ROOT, "Directory\\shell\\find\\ddeexec", "",
       "[FindFolder(\"%l\", %I)]"},
      {HKEY_CLASSES_ROOT, "Folder\\shell\\Open\\command", "",
       "Explorer.exe /idlist,%I,%L"},
      {HKEY_CLASSES_ROOT, "Folder\\shell\\explore\\ddeexec\\ifexec", "", "[]"},
      {HKEY_CLASSES_ROOT, "Directory\\shell\\DosHere", "", "<no key>"},
  };
  tftest::TempPrefix prefix;
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.Key) + " " + c.Name);
    EXPECT_EQ(readString(prefix.M, c.Root, c.Key, c.Name), c.Text);
  }
}

TEST(MachineSaveTest, CloseKeyWithLazyWriteOffPutsTheValueOnDisk) {
  tftest::TempPrefix prefix;
  writeString(prefix.M, HKEY_CURRENT_USER, "Control Panel\\Desktop",
              "MenuShowDelay", "250");
  EXPECT_FALSE(prefix.M->hasUnsavedChanges());
  EXPECT_NE(tftest::readFile(prefix.file("user.reg"))
                .find("\"MenuShowDelay\"=\"250\""),
            std::string::npos);
  auto fresh = Machine::open(prefix.Dir.path());
  EXPECT_EQ(readString(fresh, HKEY_CURRENT_USER, "Control Panel\\Desktop",
                       "MenuShowDelay"),
            "250");
}

TEST(MachineSaveTest, AnUntouchedHiveIsNeverRewritten) {
  tftest::TempPrefix prefix;
  FileIdentity system = identity(prefix.file("system.reg"));
  FileIdentity user = identity(prefix.file("user.reg"));
  readString(prefix.M, HKEY_LOCAL_MACHINE, "Software\\Classes\\lnkfile",
             "IsShortCut");
  prefix.M->flush();
  EXPECT_EQ(prefix.M->saveCount(), 0u);
  EXPECT_EQ(identity(prefix.file("user.reg")), user);

  writeString(prefix.M, HKEY_CURRENT_USER, "Software\\TFTest", "V", "x");
  EXPECT_EQ(prefix.M->saveCount(), 1u);
  EXPECT_EQ(identity(prefix.file("system.reg")), system);
  EXPECT_NE(identity(prefix.file("user.reg")), user);
}

TEST(MachineSaveTest, SaveGroupRewritesTheHiveOnceForTwentyWrites) {
  tftest::TempPrefix prefix;
  FileIdentity before = identity(prefix.file("user.reg"));
  {
    SaveGroup handler;
    for (int i = 0; i < 20; ++i) {
      SaveGroup nested;
      writeString(prefix.M, HKEY_CURRENT_USER, "Software\\TFTest",
                  "V" + std::to_string(i), "x");
    }
    EXPECT_EQ(prefix.M->saveCount(), 0u);
    EXPECT_EQ(identity(prefix.file("user.reg")), before);
  }
  EXPECT_EQ(prefix.M->saveCount(), 1u);
  std::string file = tftest::readFile(prefix.file("user.reg"));
  for (int i = 0; i < 20; ++i)
    EXPECT_NE(file.find("\"V" + std::to_string(i) + "\"=\"x\""),
              std::string::npos);

  for (int i = 0; i < 3; ++i)
    writeString(prefix.M, HKEY_CURRENT_USER, "Software\\TFTest", "W", "y");
  EXPECT_EQ(prefix.M->saveCount(), 4u); // outside a group: one per CloseKey
}

TEST(MachineSaveTest, SaveGroupCommitSavesNow) {
  tftest::TempPrefix prefix;
  SaveGroup handler;
  writeString(prefix.M, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tweakforge", "Left",
              "10");
  EXPECT_TRUE(prefix.M->hasUnsavedChanges());
  handler.commit();
  EXPECT_FALSE(prefix.M->hasUnsavedChanges());
  EXPECT_EQ(prefix.M->saveCount(), 1u);
}

TEST(MachineLoadTest, ReadsAHiveAgainWhenItsFileChanged) {
  tftest::TempPrefix prefix;
  auto other = Machine::open(prefix.Dir.path());
  EXPECT_EQ(readString(prefix.M, HKEY_CURRENT_USER, "Control Panel\\Desktop",
                       "Wallpaper"),
            "(None)");
  writeString(other, HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper",
              "C:\\WINDOWS\\Clouds.bmp");
  EXPECT_EQ(readString(prefix.M, HKEY_CURRENT_USER, "Control Panel\\Desktop",
                       "Wallpaper"),
            "C:\\WINDOWS\\Clouds.bmp");
}

TEST(MachineLoadTest, SaveReplaysTheChangesOnANewerFile) {
  tftest::TempPrefix prefix;
  auto other = Machine::open(prefix.Dir.path());
  TRegistry mine(prefix.M);
  mine.setLazyWrite(true);
  ASSERT_TRUE(mine.OpenKey("Software\\TFTest", true));
  mine.WriteString("Mine", "1");
  ASSERT_TRUE(mine.DeleteKey("\\AppEvents\\Schemes\\Names"));
  writeString(other, HKEY_CURRENT_USER, "Software\\TFTest", "Theirs", "2");
  writeString(other, HKEY_CURRENT_USER, "Software\\Other", "Theirs", "3");
  // Unsaved changes keep the hive as it is in memory until the save.
  EXPECT_EQ(
      readString(prefix.M, HKEY_CURRENT_USER, "Software\\TFTest", "Theirs"),
      "<no value>");
  prefix.M->flush();
  auto fresh = Machine::open(prefix.Dir.path());
  EXPECT_EQ(readString(fresh, HKEY_CURRENT_USER, "Software\\TFTest", "Mine"),
            "1");
  EXPECT_EQ(readString(fresh, HKEY_CURRENT_USER, "Software\\TFTest", "Theirs"),
            "2");
  EXPECT_EQ(readString(fresh, HKEY_CURRENT_USER, "Software\\Other", "Theirs"),
            "3");
  EXPECT_EQ(
      readString(fresh, HKEY_CURRENT_USER, "AppEvents\\Schemes\\Names", ""),
      "<no key>");
  EXPECT_EQ(
      readString(prefix.M, HKEY_CURRENT_USER, "Software\\Other", "Theirs"),
      "3");
}

TEST(MachineLoadTest, APrefixWithoutHivesGetsThemOnFirstSave) {
  tftest::TempDir dir;
  auto machine = Machine::open(dir / "empty");
  EXPECT_EQ(readString(machine, HKEY_LOCAL_MACHINE, "Software", ""),
            "<no key>");
  writeString(machine, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tweakforge", "Nice", "1");
  EXPECT_FALSE(fs::exists(dir / "empty" / "user.reg"));
  auto fresh = Machine::open(dir / "empty");
  EXPECT_EQ(
      readString(fresh, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tweakforge", "Nice"),
      "1");
}

TEST(MachineLoadTest, ReadsHivesThatWineWrote) {
  tftest::TempDir dir;
  tftest::copyWineFixture(dir.path());
  auto machine = Machine::open(dir.path());
  EXPECT_EQ(readString(machine, HKEY_CURRENT_USER,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"
                       "\\Shell Folders",
                       "Fonts"),
            "C:\\windows\\Fonts");
  FileIdentity system = identity(dir / "system.reg");
  writeString(machine, HKEY_CURRENT_USER, "Software\\TFTest", "V", "x");
  EXPECT_EQ(identity(dir / "system.reg"), system);
}

// Which prefix is used, with HOME, XDG_DATA_HOME and WINEPREFIX pointing
// into a temporary directory.
TEST(MachinePrefixTest, DefaultPrefixFollowsTheEnvironment) {
  struct Case {
    const char *Label;
    std::optional<std::string> WinePrefix;
    bool DotWineHasSystemReg;
    std::optional<std::string> XdgDataHome; // relative to the temp dir
    std::string Expected;                   // relative to the temp dir
  };
  const Case cases[] = {
      {"WINEPREFIX wins", "wp", true, "data", "wp"},
      {"~/.wine with system.reg", std::nullopt, true, "data", "home/.wine"},
      {"empty WINEPREFIX is unset", "", true, "data", "home/.wine"},
      {"own machine under XDG_DATA_HOME", std::nullopt, false, "data",
       "data/tweakforge/machine"},
      {"own machine without XDG_DATA_HOME", std::nullopt, false, std::nullopt,
       "home/.local/share/tweakforge/machine"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Label);
    tftest::TempDir dir;
    fs::create_directories(dir / "home/.wine");
    if (c.DotWineHasSystemReg)
      tftest::writeFile(dir / "home/.wine/system.reg", "");
    auto inDir = [&](const std::optional<std::string> &name) {
      return name && !name->empty()
                 ? std::optional<std::string>((dir / *name).string())
                 : name;
    };
    tftest::ScopedEnv home("HOME", (dir / "home").string());
    tftest::ScopedEnv wine("WINEPREFIX", inDir(c.WinePrefix));
    tftest::ScopedEnv xdg("XDG_DATA_HOME", inDir(c.XdgDataHome));
    EXPECT_EQ(Machine::defaultPrefix(), dir / c.Expected);
  }
}

TEST(MachinePrefixTest, OwnMachineIsCreatedAndSeededOnFirstUse) {
  tftest::TempDir dir;
  tftest::ScopedEnv home("HOME", (dir / "home").string());
  tftest::ScopedEnv wine("WINEPREFIX", std::nullopt);
  tftest::ScopedEnv xdg("XDG_DATA_HOME", (dir / "data/").string());
  Machine::setCurrent(nullptr);
  auto machine = Machine::current();
  Machine::setCurrent(nullptr);
  fs::path own = dir / "data/tweakforge/machine";
  EXPECT_EQ(machine->prefix(), own);
  EXPECT_TRUE(fs::is_regular_file(own / "system.reg"));
  EXPECT_TRUE(fs::is_symlink(own / "dosdevices/c:"));
  EXPECT_EQ(readString(machine, HKEY_CURRENT_USER,
                       "Control Panel\\Desktop\\WindowMetrics",
                       "Shell Icon Size"),
            "32");
}

TEST(MachinePrefixTest, AWinePrefixIsNeverSeeded) {
  tftest::TempDir dir;
  tftest::ScopedEnv wine("WINEPREFIX", (dir / "wp").string());
  Machine::setCurrent(nullptr);
  auto machine = Machine::current();
  Machine::setCurrent(nullptr);
  EXPECT_EQ(machine->prefix(), dir / "wp");
  EXPECT_FALSE(fs::exists(dir / "wp"));
}

} // namespace
