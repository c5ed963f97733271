// TRegistry: every operation, its errors and the path rules.
#include "registry/registry.h"

#include "registry/errors.h"
#include "registry/text.h"
#include "tests/registry/temp_prefix.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace reg;
using namespace std::literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

const KeyPath TestKey = {u"Software", u"TFTest"};

// The text of the RegistryError that `action` raises; "" when none.
std::string raised(const std::function<void()> &action) {
  try {
    action();
  } catch (const RegistryError &error) {
    return error.what();
  }
  return "";
}

Bytes sz(std::u16string_view text) { return stringData(text); }

struct ReadCase {
  const char *Label;
  std::optional<std::uint32_t> Type; // nullopt: the value is missing
  Bytes Data;
  std::string Result; // the text read, or the error text
};

class TRegistryTest : public ::testing::Test {
protected:
  tftest::TempPrefix P;
  std::shared_ptr<Machine> M = P.M;

  // Puts a value of any type straight into HKCU\Software\TFTest.
  void plant(const std::string &name, std::uint32_t type, Bytes data) {
    M->createKey(HiveId::CurrentUser, TestKey);
    M->setValue(HiveId::CurrentUser, TestKey, toUtf16(name), type,
                std::move(data));
  }
  const Value *stored(const std::string &name, const KeyPath &path = TestKey,
                      HiveId hive = HiveId::CurrentUser) {
    Key *key = M->findKey(hive, path);
    return key ? key->findValue(toUtf16(name)) : nullptr;
  }
  // An accessor on HKEY_CURRENT_USER, lazy-write off, with the test key
  // open.
  std::unique_ptr<TRegistry> testKey() {
    auto registry = std::make_unique<TRegistry>(M);
    registry->setRootKey(HKEY_CURRENT_USER);
    registry->setLazyWrite(false);
    EXPECT_TRUE(registry->OpenKey("Software\\TFTest", true));
    return registry;
  }
  // Plants the case's value "V" (or none) in the test key and reads it with
  // `read`: the text read, or the error raised.
  std::string readPlanted(const ReadCase &c,
                          const std::function<std::string(TRegistry &)> &read) {
    M->deleteValue(HiveId::CurrentUser, TestKey, u"V");
    if (c.Type)
      plant("V", *c.Type, c.Data);
    auto registry = testKey();
    std::string result;
    std::string error = raised([&] { result = read(*registry); });
    return error.empty() ? result : error;
  }
};

TEST_F(TRegistryTest, ReadStringGivesTextOrRaisesInvalidDataType) {
  const ReadCase cases[] = {
      {"missing", std::nullopt, {}, ""},
      {"REG_SZ", REG_SZ, sz(u"C:\\WINDOWS"), "C:\\WINDOWS"},
      {"REG_EXPAND_SZ", REG_EXPAND_SZ, sz(u"%windir%"), "%windir%"},
      {"non-ASCII", REG_SZ, sz(u"Ünïcødé \u2603"), "Ünïcødé \u2603"},
      {"ends at first zero", REG_SZ, sz(u"ab\0cd"sv), "ab"},
      {"no terminator", REG_SZ, {'h', 0, 'i', 0}, "hi"},
      {"empty REG_SZ", REG_SZ, {}, ""},
      {"empty DWORD, no type check", REG_DWORD, {}, ""},
      {"REG_DWORD", REG_DWORD, {1, 0, 0, 0}, "Invalid data type for 'V'"},
      {"REG_BINARY", REG_BINARY, {0x41, 0}, "Invalid data type for 'V'"},
      {"REG_MULTI_SZ", REG_MULTI_SZ, sz(u"a\0"sv), "Invalid data type for 'V'"},
  };
  for (const ReadCase &c : cases) {
    SCOPED_TRACE(c.Label);
    EXPECT_EQ(
        readPlanted(c, [](TRegistry &key) { return key.ReadString("V"); }),
        c.Result);
  }
}

TEST_F(TRegistryTest, ReadIntegerTakesOnlyDwordsOfAtMostFourBytes) {
  const ReadCase cases[] = {
      {"missing", std::nullopt, {}, "Failed to get data for 'V'"},
      {"42", REG_DWORD, {0x2a, 0, 0, 0}, "42"},
      {"-1", REG_DWORD, {0xff, 0xff, 0xff, 0xff}, "-1"},
      {"short DWORD", REG_DWORD, {0x01, 0x02}, "513"},
      {"REG_QWORD", REG_QWORD, Bytes(8, 0), "Failed to get data for 'V'"},
      {"DWORD of five bytes", REG_DWORD, Bytes(5, 0),
       "Failed to get data for 'V'"},
      {"REG_BINARY 01 00 00 00",
       REG_BINARY,
       {1, 0, 0, 0},
       "Invalid data type for 'V'"},
      {"REG_SZ \"1\"", REG_SZ, sz(u"1"), "Invalid data type for 'V'"},
      {"REG_SZ \"12\"", REG_SZ, sz(u"12"), "Failed to get data for 'V'"},
      {"big-endian DWORD",
       REG_DWORD_BIG_ENDIAN,
       {0, 0, 0, 1},
       "Invalid data type for 'V'"},
  };
  for (const ReadCase &c : cases) {
    SCOPED_TRACE(c.Label);
    EXPECT_EQ(readPlanted(c,
                          [](TRegistry &key) {
                            return std::to_string(key.ReadInteger("V"));
                          }),
              c.Result);
  }
}

TEST_F(TRegistryTest, ReadBoolIsReadIntegerNotZero) {
  plant("Zero", REG_DWORD, {0, 0, 0, 0});
  plant("Seven", REG_DWORD, {7, 0, 0, 0});
  auto registry = testKey();
  EXPECT_FALSE(registry->ReadBool("Zero"));
  EXPECT_TRUE(registry->ReadBool("Seven"));
  EXPECT_EQ(raised([&] { registry->ReadBool("NoClose"); }),
            "Failed to get data for 'NoClose'");
}

TEST_F(TRegistryTest, WritesStoreSzAndDwordBytesAndReachTheFile) {
  auto registry = testKey();
  registry->WriteString("", "default");
  registry->WriteString("Text", "h\xc3\xa9llo");
  registry->WriteString("Empty", "");
  registry->WriteInteger("Number", 42);
  registry->WriteInteger("Minus", -1);
  registry->WriteBool("Yes", true);
  registry->WriteBool("No", false);
  registry->CloseKey();

  struct Expected {
    const char *Name;
    std::uint32_t Type;
    Bytes Data;
    const char *Line; // as the saved file holds it
  };
  const Expected expected[] = {
      {"", REG_SZ, sz(u"default"), "@=\"default\"\n"},
      {"Text",
       REG_SZ,
       {'h', 0, 0xe9, 0, 'l', 0, 'l', 0, 'o', 0, 0, 0},
       "\"Text\"=\"h\\xe9llo\"\n"},
      {"Empty", REG_SZ, {0, 0}, "\"Empty\"=\"\"\n"},
      {"Number", REG_DWORD, {0x2a, 0, 0, 0}, "\"Number\"=dword:0000002a\n"},
      {"Minus",
       REG_DWORD,
       {0xff, 0xff, 0xff, 0xff},
       "\"Minus\"=dword:ffffffff\n"},
      {"Yes", REG_DWORD, {1, 0, 0, 0}, "\"Yes\"=dword:00000001\n"},
      {"No", REG_DWORD, {0, 0, 0, 0}, "\"No\"=dword:00000000\n"},
  };
  std::string file = tftest::readFile(P.file("user.reg"));
  EXPECT_NE(file.find("[Software\\\\TFTest] "), std::string::npos);
  for (const Expected &e : expected) {
    SCOPED_TRACE(e.Name);
    const Value *value = stored(e.Name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, e.Type);
    EXPECT_EQ(value->data, e.Data);
    EXPECT_NE(file.find(e.Line), std::string::npos);
  }
}

TEST_F(TRegistryTest, WriteReplacesAValueOfAnotherType) {
  plant("NoClose", REG_BINARY, {1, 0, 0, 0});
  auto registry = testKey();
  registry->WriteInteger("NoClose", 1);
  EXPECT_EQ(stored("NoClose")->type, REG_DWORD);
  EXPECT_EQ(registry->ReadInteger("NoClose"), 1);
}

struct PathCase {
  const char *Label;
  const char *First; // opened before, or nullptr
  const char *Path;
  bool Create;
  bool Opens;
  const char *Current; // the open key afterwards
};

TEST_F(TRegistryTest, OpenKeyFollowsThePathRules) {
  const PathCase cases[] = {
      {"from the root", nullptr, "Software\\TFTest", false, true,
       "Software\\TFTest"},
      {"leading backslash", nullptr, "\\Software\\TFTest", false, true,
       "Software\\TFTest"},
      {"relative to the open key", "Software", "TFTest", false, true,
       "Software\\TFTest"},
      {"backslash leaves the open key", "Software", "\\Control Panel", false,
       true, "Control Panel"},
      {"relative path not from the root", "Software", "Control Panel", false,
       false, ""},
      {"case does not matter", nullptr, "SOFTWARE\\tftest", false, true,
       "SOFTWARE\\tftest"},
      {"missing key", nullptr, "Software\\Missing", false, false, ""},
      {"failed open closes the open key", "Software", "Missing", false, false,
       ""},
      {"empty component", nullptr, "Software\\\\TFTest", false, false, ""},
      {"empty component, create", nullptr, "Software\\\\New", true, false, ""},
      {"trailing backslash", nullptr, "Software\\TFTest\\", true, false, ""},
      {"double leading backslash", nullptr, "\\\\Software", true, false, ""},
      {"empty path is the root", nullptr, "", false, true, ""},
      {"empty path is the open key", "Software", "", false, true, "Software"},
  };
  plant("V", REG_SZ, sz(u"x"));
  for (const PathCase &c : cases) {
    SCOPED_TRACE(c.Label);
    TRegistry registry(M);
    if (c.First) {
      ASSERT_TRUE(registry.OpenKey(c.First, false));
    }
    EXPECT_EQ(registry.OpenKey(c.Path, c.Create), c.Opens);
    EXPECT_EQ(registry.hasOpenKey(), c.Opens);
    EXPECT_EQ(registry.currentPath(), c.Current);
  }
  EXPECT_EQ(M->findKey(HiveId::CurrentUser, {u"Software", u"New"}), nullptr);
  EXPECT_EQ(M->findKey(HiveId::CurrentUser, {u"Software", u"Missing"}),
            nullptr);
}

TEST_F(TRegistryTest, OpenKeyWithCreateMakesEveryMissingKey) {
  TRegistry registry(M);
  registry.setRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(
      registry.OpenKey("AppEvents\\Schemes\\Apps\\winword\\Close", true));
  ASSERT_NE(M->findKey(HiveId::CurrentUser, {u"AppEvents", u"Schemes", u"Apps",
                                             u"winword", u"Close"}),
            nullptr);
  EXPECT_TRUE(M->findKey(HiveId::CurrentUser, {u"AppEvents", u"Schemes",
                                               u"Apps", u"winword", u"Close"})
                  ->values()
                  .empty());
}

TEST_F(TRegistryTest, WithoutAnOpenKeyWritesFailAndReadsFindNothing) {
  plant("V", REG_DWORD, {1, 0, 0, 0});
  TRegistry neverOpened(M);
  TRegistry failedOpen(M);
  ASSERT_TRUE(failedOpen.OpenKey("Software\\TFTest", false));
  ASSERT_FALSE(failedOpen.OpenKey("Software\\Missing", false));
  TRegistry closed(M);
  ASSERT_TRUE(closed.OpenKey("Software\\TFTest", false));
  closed.CloseKey();
  for (TRegistry *registry : {&neverOpened, &failedOpen, &closed}) {
    EXPECT_EQ(raised([&] { registry->WriteString("Templates", "x"); }),
              "Failed to set data for 'Templates'");
    EXPECT_EQ(raised([&] { registry->WriteInteger("NoRun", 1); }),
              "Failed to set data for 'NoRun'");
    EXPECT_EQ(raised([&] { registry->WriteBool("", true); }),
              "Failed to set data for ''");
    EXPECT_EQ(registry->ReadString("V"), "");
    EXPECT_EQ(raised([&] { registry->ReadInteger("V"); }),
              "Failed to get data for 'V'");
    EXPECT_FALSE(registry->ValueExists("V"));
    EXPECT_FALSE(registry->DeleteValue("V"));
    std::vector<std::string> names = {"stale"};
    registry->GetKeyNames(names);
    EXPECT_TRUE(names.empty());
  }
  EXPECT_NE(stored("V"), nullptr);
}

TEST_F(TRegistryTest, WriteToAKeyDeletedMeanwhileFails) {
  auto registry = testKey();
  TRegistry other(M);
  ASSERT_TRUE(other.DeleteKey("\\Software\\TFTest"));
  EXPECT_EQ(raised([&] { registry->WriteString("V", "x"); }),
            "Failed to set data for 'V'");
  EXPECT_EQ(M->findKey(HiveId::CurrentUser, TestKey), nullptr);
}

TEST_F(TRegistryTest, ClassesRootIsSoftwareClassesOfLocalMachine) {
  TRegistry classes(M);
  classes.setRootKey(HKEY_CLASSES_ROOT);
  classes.setLazyWrite(false);
  ASSERT_TRUE(classes.OpenKey("Paint.Picture\\DefaultIcon", true));
  classes.WriteString("", "%1");
  EXPECT_EQ(classes.currentPath(), "Paint.Picture\\DefaultIcon");
  classes.CloseKey();
  EXPECT_TRUE(
      classes.KeyExists("CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"));
  EXPECT_FALSE(classes.KeyExists("Software"));

  TRegistry machine(M);
  machine.setRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(
      machine.OpenKey("Software\\Classes\\Paint.Picture\\DefaultIcon", false));
  EXPECT_EQ(machine.ReadString(""), "%1");
  EXPECT_NE(tftest::readFile(P.file("system.reg"))
                .find("[Software\\\\Classes\\\\Paint.Picture\\\\DefaultIcon]"),
            std::string::npos);
  TRegistry user(M);
  user.setRootKey(HKEY_CURRENT_USER);
  EXPECT_FALSE(user.KeyExists("Software\\Classes\\Paint.Picture"));
}

TEST_F(TRegistryTest, SetRootKeyClosesTheOpenKey) {
  TRegistry registry(M);
  EXPECT_EQ(registry.rootKey(), HKEY_CURRENT_USER);
  ASSERT_TRUE(registry.OpenKey("Control Panel", false));
  registry.setRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(registry.hasOpenKey());
  EXPECT_TRUE(
      registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion", false));
  EXPECT_EQ(registry.ReadString("VersionNumber"), "4.00.950");
}

struct RenameCase {
  const char *Label;
  std::optional<Value> Old;
  std::optional<Value> New;
  bool Moves;
};

TEST_F(TRegistryTest, RenameValueMovesTypeAndDataOnlyWhenItMay) {
  const Value emptyString{u"IsShortCut", REG_SZ, {0, 0}};
  const RenameCase cases[] = {
      {"empty string moves", emptyString, std::nullopt, true},
      {"DWORD moves with its type",
       Value{u"IsShortCut", REG_DWORD, {5, 0, 0, 0}}, std::nullopt, true},
      {"multi-string keeps its type",
       Value{u"IsShortCut", REG_MULTI_SZ, sz(u"a\0"sv)}, std::nullopt, true},
      {"old missing", std::nullopt, std::nullopt, false},
      {"old has zero bytes", Value{u"IsShortCut", REG_BINARY, {}}, std::nullopt,
       false},
      {"new exists", emptyString, Value{u"IsNotShortCut", REG_SZ, sz(u"keep")},
       false},
  };
  for (const RenameCase &c : cases) {
    SCOPED_TRACE(c.Label);
    M->deleteKey(HiveId::CurrentUser, TestKey);
    M->createKey(HiveId::CurrentUser, TestKey);
    for (const auto &value : {c.Old, c.New})
      if (value)
        plant(toUtf8(value->name), value->type, value->data);
    auto registry = testKey();
    registry->RenameValue("isshortcut", "IsNotShortCut");
    const Value *oldValue = stored("IsShortCut");
    const Value *newValue = stored("IsNotShortCut");
    if (c.Moves) {
      EXPECT_EQ(oldValue, nullptr);
      ASSERT_NE(newValue, nullptr);
      EXPECT_EQ(toUtf8(newValue->name), "IsNotShortCut");
      EXPECT_EQ(newValue->type, c.Old->type);
      EXPECT_EQ(newValue->data, c.Old->data);
    } else {
      EXPECT_EQ(oldValue != nullptr, c.Old.has_value());
      EXPECT_EQ(newValue != nullptr, c.New.has_value());
      if (c.New) {
        EXPECT_EQ(newValue->data, c.New->data);
      }
    }
  }
}

TEST_F(TRegistryTest, DeleteKeyRemovesTheWholeTreeAndNothingElse) {
  const KeyPath keys[] = {
      {u"Software", u"TFTest", u"A", u"B", u"C"},
      {u"Software", u"TFTest", u"A", u"B", u"D"},
      {u"Software", u"TFTest", u"A", u"E"},
      {u"Software", u"TFTest", u"AB"},
  };
  for (const KeyPath &key : keys) {
    M->createKey(HiveId::CurrentUser, key);
    M->setValue(HiveId::CurrentUser, key, u"", REG_SZ, sz(u"x"));
  }
  auto registry = testKey();
  EXPECT_FALSE(registry->DeleteKey("A\\\\B"));
  EXPECT_FALSE(registry->DeleteKey("A\\B\\"));
  EXPECT_FALSE(registry->DeleteKey(""));
  EXPECT_FALSE(registry->DeleteKey("\\"));
  EXPECT_FALSE(registry->DeleteKey("Missing"));
  EXPECT_TRUE(registry->KeyExists("A\\B\\C"));

  EXPECT_TRUE(registry->DeleteKey("a"));
  EXPECT_FALSE(registry->KeyExists("A"));
  EXPECT_FALSE(registry->KeyExists("A\\B\\C"));
  EXPECT_TRUE(registry->KeyExists("AB"));
  EXPECT_FALSE(registry->DeleteKey("A"));

  EXPECT_TRUE(registry->DeleteKey("\\Software\\TFTest\\AB"));
  EXPECT_TRUE(registry->hasOpenKey());
  registry->CloseKey();
  std::string file = tftest::readFile(P.file("user.reg"));
  EXPECT_EQ(file.find("TFTest\\\\A"), std::string::npos);
}

TEST_F(TRegistryTest, DeleteKeyFromTheRootIsSavedByCloseKey) {
  TRegistry registry(M);
  registry.setRootKey(HKEY_LOCAL_MACHINE);
  registry.setLazyWrite(false);
  EXPECT_TRUE(registry.DeleteKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
                                 "\\fault"));
  registry.CloseKey();
  EXPECT_EQ(tftest::readFile(P.file("system.reg")).find("FAULTLOG"),
            std::string::npos);
}

TEST_F(TRegistryTest, DeleteValueAndValueExists) {
  plant("", REG_SZ, sz(u"default"));
  plant("V", REG_SZ, sz(u"x"));
  auto registry = testKey();
  EXPECT_TRUE(registry->ValueExists("v"));
  EXPECT_TRUE(registry->DeleteValue("V"));
  EXPECT_FALSE(registry->ValueExists("V"));
  EXPECT_FALSE(registry->DeleteValue("V"));
  EXPECT_TRUE(registry->ValueExists(""));
  EXPECT_TRUE(registry->DeleteValue(""));
  EXPECT_FALSE(registry->ValueExists(""));
}

TEST_F(TRegistryTest, GetKeyNamesListsSubKeysInEnumerationOrder) {
  TRegistry registry(M);
  registry.setRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true));
  std::vector<std::string> names = {"stale"};
  registry.GetKeyNames(names);
  EXPECT_EQ(names,
            (std::vector<std::string>{
                "Plus!", "WinZip", "{C1F4A0F0-4F1E-11CF-9A8E-00AA00A31D3E}"}));
  ASSERT_TRUE(registry.OpenKey("Alpha", true));
  ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
                               "\\Uninstall",
                               false));
  registry.GetKeyNames(names);
  EXPECT_EQ(names.front(), "Alpha");
  EXPECT_EQ(names.size(), 4u);
}

TEST_F(TRegistryTest, LazyWriteOnSavesWhenTheAccessorGoes) {
  std::string before = tftest::readFile(P.file("user.reg"));
  {
    TRegistry registry(M);
    ASSERT_TRUE(registry.OpenKey("Software\\TFTest", true));
    registry.WriteString("Lazy", "yes");
    registry.CloseKey();
    EXPECT_EQ(tftest::readFile(P.file("user.reg")), before);
  }
  EXPECT_NE(tftest::readFile(P.file("user.reg")).find("\"Lazy\"=\"yes\""),
            std::string::npos);
}

TEST_F(TRegistryTest, DefaultAccessorUsesTheCurrentMachine) {
  Machine::setCurrent(M);
  {
    TRegistry registry;
    EXPECT_TRUE(registry.KeyExists("Control Panel\\Desktop\\WindowMetrics"));
  }
  Machine::setCurrent(nullptr);
}

// A hive with a malformed value line: readers that never fail say false,
// the others raise the parser's error naming the file and line.
TEST_F(TRegistryTest, MalformedHiveIsReportedAndNeverOverwritten) {
  const std::string broken = "WINE REGISTRY Version 2\n"
                             ";; All keys relative to REGISTRY\\\\User\\\\S-1\n"
                             "\n"
                             "[Software\\\\TFTest] 1700000000\n"
                             "\"V\"=bogus:12\n";
  tftest::writeFile(P.file("user.reg"), broken);
  auto machine = Machine::open(P.Dir.path());
  TRegistry registry(machine);
  EXPECT_NO_THROW(registry.KeyExists("Software\\TFTest"));
  bool opened = false;
  std::string error =
      raised([&] { opened = registry.OpenKey("Software\\TFTest", false); });
  if (opened) {
    EXPECT_FALSE(registry.ValueExists("V"));
    error = raised([&] { registry.ReadString("V"); });
  }
  EXPECT_NE(error.find("user.reg:5"), std::string::npos) << error;
  registry.setLazyWrite(false);
  raised([&] {
    registry.OpenKey("Software\\TFTest", true);
    registry.WriteString("W", "x");
    registry.CloseKey();
  });
  EXPECT_EQ(tftest::readFile(P.file("user.reg")), broken);
}

} // namespace
