#include "registry/errors.h"
#include "registry/hive_file.h"
#include "registry/text.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace reg {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const fs::path Fixtures = fs::path(TF_FIXTURES_DIR) / "wine-8.0-prefix";

std::string readFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

class TempDir {
public:
  TempDir() {
    std::string pattern =
        (fs::temp_directory_path() / "tf-hive-XXXXXX").string();
    Path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(Path); }
  const fs::path &path() const { return Path; }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(Path))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

private:
  fs::path Path;
};

const std::string Header = "WINE REGISTRY Version 2\n"
                           ";; All keys relative to REGISTRY\\\\Machine\n"
                           "\n"
                           "#arch=win64\n";

std::unique_ptr<Hive> parse(const std::string &text) {
  return parseHive(text, "test.reg");
}

// The text of the block that starts with "\n[<path>]" in `text`.
std::string blockOf(const std::string &text, const std::string &path) {
  const std::size_t start = text.find("\n[" + path + "]");
  if (start == std::string::npos)
    return {};
  const std::size_t end = text.find("\n[", start + 1);
  return text.substr(start, end == std::string::npos ? end : end - start);
}

// Replaces the block of `path` in `text` by `replacement`.
std::string withBlock(const std::string &text, const std::string &path,
                      const std::string &replacement) {
  const std::string old = blockOf(text, path);
  const std::size_t at = text.find(old);
  return text.substr(0, at) + replacement + text.substr(at + old.size());
}

// Checks the "[path] seconds" and "#time=" lines of a block Tweakforge
// wrote for `key` and returns the block with both times replaced by "T".
std::string checkTimes(const std::string &block, Key &key) {
  static const std::regex timed(R"(^(\n\[.*\]) (\d+)\n#time=([0-9a-f]+)\n)");
  std::smatch match;
  if (!std::regex_search(block, match, timed)) {
    ADD_FAILURE() << "no time lines in: " << block;
    return block;
  }
  const auto seconds = std::stoll(match[2]);
  const auto ticks = std::stoull(match[3], nullptr, 16);
  EXPECT_EQ(seconds, key.modifiedSeconds());
  EXPECT_EQ(static_cast<long long>(ticks / 10'000'000 - 11'644'473'600),
            seconds);
  EXPECT_NEAR(seconds, static_cast<long long>(std::time(nullptr)), 5);
  return match[1].str() + " T\n#time=T\n" + match.suffix().str();
}

Key &keyAt(Hive &hive, std::vector<std::u16string> path) {
  Key *key = hive.find(path);
  if (!key)
    throw std::runtime_error("missing key " + toUtf8(path.back()));
  return *key;
}

// --- Value lines, both ways ------------------------------------------------

struct ValueCase {
  std::string Line;
  std::u16string Name;
  std::uint32_t Type;
  std::vector<std::uint8_t> Data;
};

std::vector<std::uint8_t> sz(std::u16string_view text) {
  return stringData(text);
}

// Lines the writer produces exactly so (and the reader reads back).
const ValueCase WrittenValues[] = {
    {R"("a"="text")", u"a", REG_SZ, sz(u"text")},
    {R"(@="")", u"", REG_SZ, sz(u"")},
    {R"("p"=str(2):"%SystemRoot%\\x")", u"p", REG_EXPAND_SZ,
     sz(u"%SystemRoot%\\x")},
    {R"("m"=str(7):"one\0two\0")", u"m", REG_MULTI_SZ, sz(u"one\0two\0"s)},
    {R"("d"=dword:0000002a)", u"d", REG_DWORD, {0x2a, 0, 0, 0}},
    {R"("d"=dword:ffffffff)", u"d", REG_DWORD, {0xff, 0xff, 0xff, 0xff}},
    {R"("b"=hex:01,02,ff)", u"b", REG_BINARY, {1, 2, 0xff}},
    {R"("b"=hex:)", u"b", REG_BINARY, {}},
    {R"("n"=hex(0):)", u"n", REG_NONE, {}},
    {R"("q"=hex(b):01,00,00,00,00,00,00,00)",
     u"q",
     REG_QWORD,
     {1, 0, 0, 0, 0, 0, 0, 0}},
    {R"("u"=hex(ffff0007):0a)", u"u", 0xffff0007, {0x0a}},
    // String types whose data is not whole, terminated UTF-16 go out as hex.
    {R"("s"=hex(1):41,00)", u"s", REG_SZ, {0x41, 0}},
    {R"("s"=hex(1):)", u"s", REG_SZ, {}},
    {R"("s"=hex(2):41,00,00)", u"s", REG_EXPAND_SZ, {0x41, 0, 0}},
    {R"("d"=hex(4):01,02,03)", u"d", REG_DWORD, {1, 2, 3}},
    // Escapes.
    {R"("q\"uote\\back[]"="tab\tnl\nbell\a\b\v\f\r\e")", u"q\"uote\\back[]",
     REG_SZ, sz(u"tab\tnl\nbell\a\b\v\f\r\x1b")},
    {R"("e"="\xe9 \x00e9c \x00e9F \xe9g \x2603")", u"e", REG_SZ,
     sz(u"\u00e9 \u00e9c \u00e9F \u00e9g \u2603")},
    {R"("e"="\xd83d\xde00\xe9")", u"e", REG_SZ, sz(u"\U0001F600\u00e9")},
    {R"("c"="\1x\0015\18\37")", u"c", REG_SZ,
     sz(u"\x01x\x01"
        u"5\x01"
        u"8\x1f")},
    {"\"\\xdcn\\x00efc\\x00f8d\\xe9\"=\"\\\\\\\\server\\\\share\"",
     u"\u00dcn\u00efc\u00f8d\u00e9", REG_SZ, sz(u"\\\\server\\share")},
};

// Lines Wine reads but writes otherwise.
const ValueCase ReadOnlyValues[] = {
    {"\"\xc3\xa9\"=\"\xe2\x98\x83\xf0\x9f\x98\x80\"", u"\u00e9", REG_SZ,
     sz(u"\u2603\U0001F600")},
    {"\"a\"=\"x\xff"
     "y\xc3\"",
     u"a", REG_SZ, sz(u"xy")}, // invalid bytes skipped
    {R"("a"=str:"x")", u"a", REG_SZ, sz(u"x")},
    {R"("a"="\xg\q\[\101")", u"a", REG_SZ, sz(u"xgq[A")},
    {R"("a"="\x12345")", u"a", REG_SZ, sz(u"\u12345")},
    {"  \"a\" \t= \t\"x\"  \r", u"a", REG_SZ, sz(u"x")},
    {R"(@=dword:2A)", u"", REG_DWORD, {0x2a, 0, 0, 0}},
    {"\"b\"=hex: 1 , 2,FF,\\\n  03,\\\n\t04,",
     u"b",
     REG_BINARY,
     {1, 2, 0xff, 3, 4}},
    {"\"b\"=hex:01\\\n  02", u"b", REG_BINARY, {1, 2}},
    {R"("t"=hex(B):01)", u"t", REG_QWORD, {1}},
};

std::string hiveWithLine(const std::string &line) {
  return Header + "\n[k] 1700000000\n#time=1da0bf3e2dc4000\n" + line + "\n";
}

void expectReadAs(const ValueCase &c) {
  SCOPED_TRACE(c.Line);
  auto hive = parse(hiveWithLine(c.Line));
  const auto &values = keyAt(*hive, {u"k"}).values();
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, c.Name);
  EXPECT_EQ(values[0].type, c.Type);
  EXPECT_EQ(values[0].data, c.Data);
}

TEST(ValueLines, ReadAsWineReadsThem) {
  for (const ValueCase &c : WrittenValues)
    expectReadAs(c);
  for (const ValueCase &c : ReadOnlyValues)
    expectReadAs(c);
}

TEST(ValueLines, WrittenAsWineWritesThem) {
  for (const ValueCase &c : WrittenValues) {
    SCOPED_TRACE(c.Line);
    Hive hive("REGISTRY\\\\Machine", "win64");
    hive.ensure({u"k"}).setValue(c.Name, c.Type, c.Data);
    const std::string text = serializeHive(hive);
    const std::size_t time = text.find("#time=");
    ASSERT_NE(time, std::string::npos);
    EXPECT_EQ(text.substr(text.find('\n', time) + 1), c.Line + "\n");
  }
}

TEST(ValueLines, LongHexWrapsAfterColumn76AsWine) {
  // 17 columns before the data: the first line holds 20 bytes (77 columns),
  // each further line 25; the name's own length shifts the first break.
  Hive hive("REGISTRY\\\\Machine", "win64");
  Key &key = hive.ensure({u"k"});
  key.setValue(u"FilterData", REG_BINARY, std::vector<std::uint8_t>(46, 0xab));
  key.setValue(u"LongerName", 0x10, std::vector<std::uint8_t>(21, 0x01));
  const std::string row20 =
      "ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,";
  const std::string text = serializeHive(hive);
  EXPECT_NE(text.find("\"FilterData\"=hex:" + row20 + "\\\n  " + row20 +
                      "ab,ab,ab,ab,ab,\\\n  ab\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"LongerName\"=hex(10):01,01,01,01,01,01,01,01,01,01,01,"
                      "01,01,01,01,01,01,01,01,\\\n  01,01\n"),
            std::string::npos)
      << text;
}

TEST(KeyLines, PathsEscapeBracketsAndUnicode) {
  Hive hive("REGISTRY\\\\Machine", "win64");
  hive.ensure({u"Software", u"a[b]c\u00e9F \"q\""});
  const std::string text = serializeHive(hive);
  EXPECT_NE(text.find("\n[Software\\\\a\\[b\\]c\\x00e9F \"q\"] "),
            std::string::npos)
      << text;
  auto again = parse(text);
  EXPECT_NE(again->find({u"software", u"A[B]C\u00c9f \"Q\""}), nullptr);
}

TEST(KeyLines, PathsThatShareTheirStartWithThePreviousLine) {
  auto hive = parse(
      Header + "\n[a\\\\b\\\\c]\n\n[a\\\\bc]\n\n[A\\\\B\\\\d]\n"
               "\n[a\\x005cb\\x005ce]\n\n[a\\x005cb\\\\f]\n\n[a\\\\\\\\g]\n");
  Key &a = hive->root().childAt(0);
  EXPECT_EQ(hive->root().childCount(), 1u);
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < a.childCount(); ++i)
    names.push_back(a.childAt(i).name());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"b", u"bc", u"g"}));
  Key &b = a.childAt(0);
  ASSERT_EQ(b.childCount(), 4u);
  EXPECT_EQ(b.childAt(0).name(), u"c");
  EXPECT_EQ(b.childAt(1).name(), u"d");
  EXPECT_EQ(b.childAt(2).name(), u"e");
  EXPECT_EQ(b.childAt(3).name(), u"f");
}

TEST(KeyLines, ReadsTimesClassAndLink) {
  auto hive =
      parse(Header + "\n[a\\\\b] 1700000000\n#class=\"My \\\"class\\\"\"\n"
                     "#link\n#unknown option\n\n[c]\n#time=1d9f0cd5d4a4b80\n");
  Key &b = keyAt(*hive, {u"A", u"B"});
  EXPECT_EQ(b.modifiedSeconds(), 1700000000);
  EXPECT_EQ(b.className(), u"My \"class\"");
  EXPECT_TRUE(b.isLink());
  // A parent known only from its sub-key's path takes that key's time.
  EXPECT_EQ(keyAt(*hive, {u"a"}).modifiedSeconds(), 1700000000);
  Key &c = keyAt(*hive, {u"c"});
  EXPECT_FALSE(c.className());
  EXPECT_FALSE(c.isLink());
  EXPECT_EQ(c.modifiedSeconds(),
            (0x1d9f0cd5d4a4b80 - 116444736000000000) / 10000000);
}

// --- Fixtures ------------------------------------------------------------

class FixtureHive : public ::testing::TestWithParam<const char *> {};

TEST_P(FixtureHive, SavedUntouchedIsTheSameBytes) {
  TempDir dir;
  const fs::path copy = dir.path() / GetParam();
  fs::copy_file(Fixtures / GetParam(), copy);
  auto hive = loadHiveFile(copy);
  EXPECT_FALSE(hive->isDirty());
  saveHiveFile(*hive, copy);
  EXPECT_EQ(readFile(copy), readFile(Fixtures / GetParam()));
}

void resetEveryValue(Key &key) {
  const std::vector<Value> values = key.values();
  if (!values.empty()) {
    key.removeValue(values.front().name);
    key.setValue(values.front().name, values.front().type, values.front().data);
  }
  for (std::size_t i = 0; i < key.childCount(); ++i)
    resetEveryValue(key.childAt(i));
}

std::string maskTimes(const std::string &text) {
  static const std::regex keyTime(R"(\] \d+\n#time=[0-9a-f]+\n)");
  return std::regex_replace(text, keyTime, "] T\n#time=T\n");
}

TEST_P(FixtureHive, EveryKeyWrittenAnewMatchesWineButForTheTime) {
  const std::string original = readFile(Fixtures / GetParam());
  auto hive = parse(original);
  resetEveryValue(hive->root());
  const std::string written = serializeHive(*hive);
  EXPECT_NE(written, original); // fresh times
  EXPECT_TRUE(maskTimes(written) == maskTimes(original));
}

void expectWineOrder(Key &key) {
  for (std::size_t i = 1; i < key.childCount(); ++i)
    EXPECT_LT(compareNames(key.childAt(i - 1).name(), key.childAt(i).name()), 0)
        << toUtf8(key.childAt(i).name());
  const auto &values = key.values();
  for (std::size_t i = 1; i < values.size(); ++i)
    EXPECT_LT(compareNames(values[i - 1].name, values[i].name), 0)
        << toUtf8(values[i].name);
  for (std::size_t i = 0; i < key.childCount(); ++i)
    expectWineOrder(key.childAt(i));
}

TEST_P(FixtureHive, NameOrderAgreesWithWine) {
  auto hive = loadHiveFile(Fixtures / GetParam());
  expectWineOrder(hive->root());
}

INSTANTIATE_TEST_SUITE_P(Wine8, FixtureHive,
                         ::testing::Values("system.reg", "user.reg",
                                           "userdef.reg"),
                         [](const auto &info) {
                           // "system.reg" gives "system"; names are C names.
                           const std::string file = info.param;
                           return file.substr(0, file.find('.'));
                         });

const std::string FilterKey =
    "Software\\\\Classes\\\\CLSID\\\\{083863F1-70DE-11D0-BD40-00A0C911CE86}"
    "\\\\Instance\\\\{1B544C20-FD0B-11CE-8C63-00AA0044B51E}";
const std::vector<std::u16string> FilterPath = {
    u"Software", u"Classes",
    u"CLSID",    u"{083863F1-70DE-11D0-BD40-00A0C911CE86}",
    u"Instance", u"{1B544C20-FD0B-11CE-8C63-00AA0044B51E}"};

TEST(FixtureChanges, OnlyTheChangedBlockDiffersSaveAfterSave) {
  TempDir dir;
  const fs::path file = dir.path() / "system.reg";
  const std::string original = readFile(Fixtures / "system.reg");
  writeFile(file, original);
  auto hive = loadHiveFile(file);

  // A key with a long wrapped hex value: the change rewrites its block the
  // way Wine would, keeping the hex lines as Wine wrapped them.
  Key &filter = keyAt(*hive, FilterPath);
  filter.setValue(u"FriendlyName", REG_SZ, sz(u"Changed"));
  saveHiveFile(*hive, file);
  EXPECT_FALSE(hive->isDirty());
  EXPECT_FALSE(filter.isDirty());
  const std::string first = readFile(file);
  const std::string oldBlock = blockOf(original, FilterKey);
  const std::string newBlock = blockOf(first, FilterKey);
  EXPECT_EQ(withBlock(first, FilterKey, oldBlock), original);
  const std::string oldValues = oldBlock.substr(oldBlock.find("\"CLSID\""));
  EXPECT_EQ(
      checkTimes(newBlock, filter),
      "\n[" + FilterKey + "] T\n#time=T\n" +
          std::regex_replace(oldValues, std::regex("AVI Splitter"), "Changed"));

  // The saved text is the new source: a second change again touches one
  // block, and untouched keys still read their values from it.
  const std::string otherKey =
      "Software\\\\Borland\\\\Database Engine\\\\Settings"
      "\\\\SYSTEM\\\\INIT";
  Key &init = keyAt(*hive, {u"Software", u"Borland", u"Database Engine",
                            u"Settings", u"SYSTEM", u"INIT"});
  init.setValue(u"SHAREDMEMLOCATION", REG_SZ, sz(u"9001"));
  saveHiveFile(*hive, file);
  const std::string second = readFile(file);
  EXPECT_EQ(withBlock(second, otherKey, blockOf(first, otherKey)), first);
  EXPECT_EQ(checkTimes(blockOf(second, otherKey), init),
            "\n[" + otherKey +
                "] T\n#time=T\n\"SHAREDMEMLOCATION\"=\"9001\"\n");
  const Value *link =
      keyAt(*hive, {u"Software", u"Classes", u"Wow6432Node", u"AppId"})
          .findValue(u"SymbolicLinkValue");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->type, REG_LINK);
  EXPECT_EQ(stringFromData(link->data),
            u"\\Registry\\Machine\\Software\\Classes\\AppId");

  // The file reads back as what was saved.
  auto reread = loadHiveFile(file);
  EXPECT_EQ(serializeHive(*reread), second);
  EXPECT_EQ(stringFromData(
                keyAt(*reread, FilterPath).findValue(u"FriendlyName")->data),
            u"Changed");
}

TEST(FixtureChanges, SettingTheSameDataChangesNothing) {
  const std::string original = readFile(Fixtures / "user.reg");
  auto hive = parse(original);
  Key &colors = keyAt(*hive, {u"Control Panel", u"Colors"});
  const Value value = *colors.findValue(u"Window");
  colors.setValue(u"window", value.type, value.data);
  EXPECT_FALSE(hive->isDirty());
  EXPECT_EQ(serializeHive(*hive), original);
}

// --- Structure changes on a small hive -----------------------------------

const std::string Small =
    Header + "\n[A] 1700000000\n#time=1d9f0cd5d4a4b80\n\"x\"=dword:00000001\n"
             "\n[A\\\\b\\\\c] 1700000000\n#time=1d9f0cd5d4a4b80\n@=\"c\"\n"
             "\n[A\\\\d] 1700000000\n#time=1d9f0cd5d4a4b80\n"
             "\n[E\\\\f] 1700000000\n#time=1d9f0cd5d4a4b80\n\"y\"=\"1\"\n";

TEST(StructureChanges, NewKeyGoesToItsSortedPlaceWrittenAsWine) {
  auto hive = parse(Small);
  Key &created = hive->ensure({u"A", u"B", u"New \u00e9"});
  created.setValue(u"v", REG_DWORD, {1, 0, 0, 0});
  const std::string text = serializeHive(*hive);
  // The new key follows A\b\c; its parent A\b has no block of its own and
  // stays so; the block of A is not its parent and keeps its bytes.
  const std::string newBlock = blockOf(text, "A\\\\b\\\\New \\xe9");
  EXPECT_EQ(checkTimes(newBlock, created),
            "\n[A\\\\b\\\\New \\xe9] T\n#time=T\n\"v\"=dword:00000001\n");
  const std::size_t next = Small.find(blockOf(Small, "A\\\\d"));
  EXPECT_EQ(text, Small.substr(0, next) + newBlock + Small.substr(next));
}

TEST(StructureChanges, NewSubKeyTouchesAParentThatHasABlock) {
  auto hive = parse(Small);
  Key &a = keyAt(*hive, {u"a"});
  hive->ensure({u"A", u"aa"});
  const std::string text = serializeHive(*hive);
  EXPECT_EQ(checkTimes(blockOf(text, "A"), a),
            "\n[A] T\n#time=T\n\"x\"=dword:00000001\n");
  EXPECT_NE(text.find("\n[A\\\\aa] "), std::string::npos);
}

TEST(StructureChanges, DeletedKeysVanishAndAnEmptiedParentAppears) {
  auto hive = parse(Small);
  EXPECT_TRUE(hive->remove({u"e", u"F"}));
  EXPECT_TRUE(hive->remove({u"a", u"B"}));
  const std::string text = serializeHive(*hive);
  // E had no block while it had a sub-key; empty now, Wine writes it.
  Key &e = keyAt(*hive, {u"E"});
  EXPECT_EQ(checkTimes(blockOf(text, "E"), e), "\n[E] T\n#time=T\n");
  // A lost a sub-key: touched, as in Wine.
  Key &a = keyAt(*hive, {u"A"});
  EXPECT_EQ(checkTimes(blockOf(text, "A"), a),
            "\n[A] T\n#time=T\n\"x\"=dword:00000001\n");
  EXPECT_EQ(text, Header + blockOf(text, "A") + blockOf(Small, "A\\\\d") +
                      blockOf(text, "E"));
}

// --- Hand-edited files ------------------------------------------------------

// Odd spacing, comments, unsorted values and keys, a repeated key, CRLF.
const std::string HandEdited = Header +
                               "\n[Z] 1700000000\n#time=1d9f0cd5d4a4b80\n"
                               "\"b\" = \"2\"\n;; a comment\n\"a\"=\"1\"\n\n\n"
                               "[Y]\r\n\"k\"=dword:1\r\n"
                               "\n[z] 1700000001\n\"a\"=\"one\"\n\"c\"=\"3\"\n"
                               "\n[X] 1700000000\n  @=\"x\"";

TEST(HandEdited, ReadsAndKeepsWhatItDoesNotChange) {
  auto hive = parse(HandEdited);
  EXPECT_EQ(serializeHive(*hive), HandEdited);
  Key &root = hive->root();
  ASSERT_EQ(root.childCount(), 3u); // file order, Z named twice
  EXPECT_EQ(root.childAt(0).name(), u"Z");
  EXPECT_EQ(root.childAt(1).name(), u"Y");
  EXPECT_EQ(root.childAt(2).name(), u"X");
  EXPECT_EQ(hive->find({u"x"}), &root.childAt(2));
  // The later block wins for a repeated value, as in Wine.
  Key &z = root.childAt(0);
  ASSERT_EQ(z.values().size(), 3u);
  EXPECT_EQ(stringFromData(z.findValue(u"A")->data), u"one");
  EXPECT_EQ(z.modifiedSeconds(), 1700000001);
  EXPECT_EQ(root.childAt(1).findValue(u"k")->data,
            (std::vector<std::uint8_t>{1, 0, 0, 0}));

  // A change: Y keeps its bytes; the repeated Z is written once, values in
  // name order; X, last in the file without a final '\n', gets one before
  // the new key that now follows it.
  hive->ensure({u"Zz"});
  const std::string text = serializeHive(*hive);
  EXPECT_EQ(text, Header +
                      "\n[Z] 1700000001\n#time=1da1747c7059680\n"
                      "\"a\"=\"one\"\n\"b\"=\"2\"\n\"c\"=\"3\"\n" +
                      "\n[Y]\r\n\"k\"=dword:1\r\n" +
                      "\n[X] 1700000000\n  @=\"x\"\n" + blockOf(text, "Zz"));
}

TEST(HandEdited, NewKeyAmongUnsortedSiblings) {
  auto hive = parse(HandEdited);
  Key &root = hive->root();
  root.ensureChild(u"Ya");
  root.ensureChild(u"W");
  EXPECT_EQ(root.childAt(0).name(), u"W");
  EXPECT_EQ(root.childAt(4).name(), u"Ya"); // after the last name before it
  EXPECT_EQ(hive->find({u"YA"}), &root.childAt(4));
  EXPECT_TRUE(root.removeChild(u"y"));
  EXPECT_EQ(hive->find({u"Y"}), nullptr);
  EXPECT_EQ(hive->find({u"ya"}), &root.childAt(3));
}

// --- Hostile input ----------------------------------------------------------

struct BadInput {
  std::string Text;
  std::string Error;
};

TEST(HostileInput, FailsWithTheLineAndWhatIsWrong) {
  const std::string key = "\n[k] 1\n"; // lines 5 and 6
  const BadInput cases[] = {
      {"", "test.reg:1: not a Wine registry file"},
      {"WINE REGISTRY Version 1\n", "test.reg:1: not a Wine registry file"},
      {"\x7f"
       "ELF\x01\x00\x00",
       "test.reg:1: not a Wine registry file"},
      {Header + "\"a\"=\"b\"\n", "test.reg:5: value line before the first key"},
      {Header + key + "\"a\"=\"abc", "test.reg:7: unterminated string"},
      {Header + key + "\"a\"=\"abc\\\"\n", "test.reg:7: unterminated string"},
      {Header + key + "\"a=1\n", "test.reg:7: unterminated value name"},
      {Header + "\n[k\\\\x 1\n", "test.reg:6: unterminated key path"},
      {Header + key + "\"a\" \"b\"\n",
       "test.reg:7: missing '=' after the value name"},
      {Header + key + "\"a\"=foo:1\n", "test.reg:7: unknown value type"},
      {Header + key + "\"a\"=str(3):\"x\"\n", "test.reg:7: unknown value type"},
      {Header + key + "\"a\"=dword:xyz\n", "test.reg:7: bad dword value"},
      {Header + key + "\"a\"=dword:123456789\n", "test.reg:7: bad dword value"},
      {Header + key + "\"a\"=dword:1 2\n",
       "test.reg:7: unexpected text after the value"},
      {Header + key + "\"a\"=\"x\" y\n",
       "test.reg:7: unexpected text after the value"},
      {Header + key + "\"a\"=hex:01,zz\n", "test.reg:7: bad hex data"},
      {Header + key + "\"a\"=hex:012\n", "test.reg:7: bad hex data"},
      {Header + key + "\"a\"=hex:01,\\\n  02,\\\n  x\n",
       "test.reg:9: bad hex data"},
      {Header + key + "\"a\"=hex:01,\\",
       "test.reg:7: hex data continues past the end of the file"},
      {Header + key + "\"a\"=hex(100000000):\n",
       "test.reg:7: bad hex(type) prefix"},
      {Header + key + "\"a\"=hex(:01\n", "test.reg:7: bad hex(type) prefix"},
      {Header + key + "\"a\"=\"x\0y\"\n"s, "test.reg:7: NUL byte in text"},
      {Header + key + "\"a\"=\"\0\\\"\"\n"s, "test.reg:7: NUL byte in text"},
      {Header + key + "\x01\x02garbage\n", "test.reg:7: unrecognized line"},
      {Header + key + "#time=zz\n", "test.reg:7: bad #time line"},
      {Header + key + "#class=x\n", "test.reg:7: bad #class line"},
      {Header + "\n[a] 99999999999\n",
       "test.reg:6: bad time after the key path"},
      {Header + "\n[a] 12 x\n",
       "test.reg:6: unexpected text after the key path"},
      {Header + "\n[a]\n\"v\"=hex:01,\\\n  02\n\n[b] x\n",
       "test.reg:10: unexpected text after the key path"},
  };
  for (const BadInput &c : cases) {
    SCOPED_TRACE(c.Text);
    try {
      parse(c.Text);
      ADD_FAILURE() << "parsed";
    } catch (const RegistryError &error) {
      EXPECT_EQ(std::string(error.what()).substr(0, c.Error.size()), c.Error);
    }
  }
}

TEST(HostileInput, DeepPathsAreRefused) {
  std::string path = "k";
  for (int i = 0; i < 600; ++i)
    path += "\\\\k";
  EXPECT_THROW(parse(Header + "\n[" + path + "]\n"), RegistryError);
  std::string allowed = "k";
  for (int i = 1; i < 512; ++i)
    allowed += "\\\\k";
  EXPECT_NO_THROW(parse(Header + "\n[" + allowed + "]\n"));
}

TEST(HostileInput, OddButReadableTextLoadsFaithfully) {
  const std::string huge(1 << 20, 'x');
  std::string manyKeys = Header;
  for (int i = 20000; i > 0; --i) // reversed: every key out of order
    manyKeys +=
        "\n[k" + std::to_string(i) + "]\n\"v\"=\"" + std::to_string(i) + "\"\n";
  const std::string texts[] = {
      Header,                        // no keys at all
      "WINE REGISTRY Version 2",     // magic without newline
      Header + "\n[]\n@=\"root\"\n", // the root's own block
      Header + "\n[]\n@=\"1\"\n\n[b]\n\n[\xff]\n@=\"2\"\n", // twice
      Header + "\n[a\\\\\\\\b]\n", // empty path component
      Header + "\n[k]\n\"" + huge + "\"=\"" + huge + "\"\n",
      Header + "\n[k]\n\"u\"=hex(7fffffff):00,01\n",
      manyKeys,
  };
  for (const std::string &text : texts) {
    auto hive = parse(text);
    EXPECT_EQ(serializeHive(*hive), text);
  }
  auto hive = parse(manyKeys);
  EXPECT_EQ(stringFromData(keyAt(*hive, {u"K777"}).findValue(u"v")->data),
            u"777");
  EXPECT_EQ(hive->root().childAt(0).name(), u"k20000");
}

// --- Saving ---------------------------------------------------------------

TEST(SaveHiveFile, KeepsTheModeAndLeavesNoTemporaryFile) {
  TempDir dir;
  const fs::path file = dir.path() / "user.reg";
  fs::copy_file(Fixtures / "user.reg", file);
  ::chmod(file.c_str(), 0640);
  auto hive = loadHiveFile(file);
  hive->ensure({u"Software", u"TFTest"})
      .setValue(u"v", REG_DWORD, {1, 0, 0, 0});
  saveHiveFile(*hive, file);
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"user.reg"});
  EXPECT_EQ(serializeHive(*loadHiveFile(file)), serializeHive(*hive));
}

TEST(SaveHiveFile, CreatesAMissingFileAndSavesThroughASymlink) {
  TempDir dir;
  Hive hive("REGISTRY\\\\Machine", "win32");
  saveHiveFile(hive, dir.path() / "real.reg");
  const std::string text = readFile(dir.path() / "real.reg");
  EXPECT_EQ(
      text.substr(0, text.find("\n[")),
      "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n"
      "\n#arch=win32\n");
  EXPECT_NE(text.find("\n[] "),
            std::string::npos); // Wine writes the empty root
  fs::create_symlink("real.reg", dir.path() / "system.reg");
  hive.ensure({u"k"});
  saveHiveFile(hive, dir.path() / "system.reg");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "system.reg"));
  EXPECT_NE(readFile(dir.path() / "real.reg").find("\n[k] "),
            std::string::npos);
}

TEST(SaveHiveFile, FailureLeavesTheOriginalAndNoTemporaryFile) {
  TempDir dir;
  auto hive = parse(Small);
  hive->ensure({u"new"});
  // No directory to write in.
  EXPECT_THROW(saveHiveFile(*hive, dir.path() / "missing" / "system.reg"),
               RegistryError);
  // A directory where the file should be: the rename fails.
  fs::create_directory(dir.path() / "system.reg");
  try {
    saveHiveFile(*hive, dir.path() / "system.reg");
    ADD_FAILURE() << "saved over a directory";
  } catch (const RegistryError &error) {
    EXPECT_NE(std::string(error.what())
                  .find("Cannot save " + (dir.path() / "system.reg").string()),
              std::string::npos);
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"system.reg"});
  EXPECT_TRUE(hive->isDirty());
}

TEST(SaveHiveFile, WriteErrorLeavesTheOriginal) {
  TempDir dir;
  const fs::path file = dir.path() / "system.reg";
  writeFile(file, Small);
  // In a child process: a file size limit makes the write itself fail.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    auto hive = parse(Small);
    hive->ensure({u"new"}).setValue(u"v", REG_BINARY,
                                    std::vector<std::uint8_t>(500, 1));
    try {
      saveHiveFile(*hive, file);
    } catch (const RegistryError &error) {
      ::_exit(std::string(error.what()).find("File too large") !=
                      std::string::npos
                  ? 0
                  : 2);
    }
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(readFile(file), Small);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"system.reg"});
}

TEST(SaveHiveFile, ManySavesKeepEveryBlockRight) {
  // Each save keeps the blocks it wrote anew; the ones replaced later are
  // dropped as they pile up. Blocks kept from earlier saves must survive.
  TempDir dir;
  const fs::path file = dir.path() / "system.reg";
  writeFile(file, Small);
  auto hive = loadHiveFile(file);
  keyAt(*hive, {u"E", u"f"}).setValue(u"y", REG_SZ, sz(u"kept"));
  keyAt(*hive, {u"A"})
      .setValue(u"x", REG_BINARY, std::vector<std::uint8_t>(30000, 1));
  saveHiveFile(*hive, file);
  const std::string kept = blockOf(readFile(file), "E\\\\f");
  for (std::uint8_t round = 2; round < 12; ++round) {
    keyAt(*hive, {u"A"})
        .setValue(u"x", REG_BINARY, std::vector<std::uint8_t>(30000, round));
    saveHiveFile(*hive, file);
    const std::string text = readFile(file);
    EXPECT_EQ(blockOf(text, "E\\\\f"), kept);
    EXPECT_EQ(serializeHive(*hive), text);
  }
  auto reread = loadHiveFile(file);
  EXPECT_EQ(keyAt(*reread, {u"a"}).findValue(u"x")->data,
            std::vector<std::uint8_t>(30000, 11));
  EXPECT_EQ(blockOf(Small, "A\\\\b\\\\c"),
            blockOf(readFile(file), "A\\\\b\\\\c"));
}

TEST(SaveHiveFile, SavesAgainAfterEveryKeyWasWrittenAnew) {
  TempDir dir;
  const fs::path file = dir.path() / "system.reg";
  writeFile(file, Small);
  auto hive = loadHiveFile(file);
  resetEveryValue(hive->root());
  Key &empty = keyAt(*hive, {u"A", u"d"});
  empty.ensureChild(u"gone");
  empty.removeChild(u"gone");
  saveHiveFile(*hive, file);
  EXPECT_EQ(maskTimes(readFile(file)), maskTimes(Small));
  keyAt(*hive, {u"E", u"f"}).setValue(u"y", REG_SZ, sz(u"2"));
  saveHiveFile(*hive, file);
  const std::string text = readFile(file);
  EXPECT_EQ(serializeHive(*hive), text);
  EXPECT_EQ(serializeHive(*loadHiveFile(file)), text);
  EXPECT_NE(text.find("\"y\"=\"2\""), std::string::npos);
}

TEST(LoadHiveFile, NamesTheFileInErrors) {
  TempDir dir;
  EXPECT_THROW(loadHiveFile(dir.path() / "none.reg"), RegistryError);
  writeFile(dir.path() / "bad.reg", Header + "\n[k\n");
  try {
    loadHiveFile(dir.path() / "bad.reg");
    ADD_FAILURE();
  } catch (const RegistryError &error) {
    EXPECT_STREQ(error.what(), "bad.reg:6: unterminated key path");
  }
}

} // namespace
} // namespace reg
