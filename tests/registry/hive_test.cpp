#include "registry/errors.h"
#include "registry/hive.h"
#include "registry/text.h"

#include <gtest/gtest.h>

#include <ctime>

namespace reg {
namespace {

std::vector<std::string> childNames(Key &key) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < key.childCount(); ++i)
    names.push_back(toUtf8(key.childAt(i).name()));
  return names;
}

std::vector<std::string> valueNames(Key &key) {
  std::vector<std::string> names;
  for (const Value &value : key.values())
    names.push_back(toUtf8(value.name));
  return names;
}

struct HiveTest : ::testing::Test {
  Hive H{"REGISTRY\\\\Machine", "win32"};
};

TEST_F(HiveTest, EnsureFindAndRemoveIgnoreCase) {
  EXPECT_FALSE(H.isDirty());
  Key &key = H.ensure({u"Software", u"Microsoft", u"Windows"});
  EXPECT_TRUE(H.isDirty());
  EXPECT_EQ(&key, H.find({u"SOFTWARE", u"microsoft", u"WINDOWS"}));
  EXPECT_EQ(&key, &H.ensure({u"software", u"MICROSOFT", u"windows"}));
  EXPECT_EQ(key.name(), u"Windows"); // the first spelling stays
  EXPECT_EQ(key.parent()->name(), u"Microsoft");
  EXPECT_EQ(H.find({u"Software", u"Nothing"}), nullptr);

  EXPECT_FALSE(H.remove({}));
  EXPECT_FALSE(H.remove({u"Software", u"Nothing"}));
  EXPECT_FALSE(H.remove({u"Nothing", u"Windows"}));
  EXPECT_TRUE(H.remove({u"software", u"microsoft"}));
  EXPECT_EQ(H.find({u"Software", u"Microsoft"}), nullptr);
  EXPECT_NE(H.find({u"Software"}), nullptr);
}

TEST_F(HiveTest, NewKeysGoToTheirSortedPlace) {
  Key &parent = H.ensure({u"P"});
  for (const char16_t *name : {u"b", u"D", u"a", u"_x", u"C", u"ab"})
    parent.ensureChild(name);
  EXPECT_EQ(childNames(parent),
            (std::vector<std::string>{"_x", "a", "ab", "b", "C", "D"}));
  EXPECT_TRUE(parent.removeChild(u"AB"));
  EXPECT_FALSE(parent.removeChild(u"ab"));
  EXPECT_EQ(childNames(parent),
            (std::vector<std::string>{"_x", "a", "b", "C", "D"}));
}

TEST_F(HiveTest, RefusesKeyNamesThatCannotBeWritten) {
  Key &root = H.root();
  EXPECT_THROW(root.ensureChild(u""), RegistryError);
  EXPECT_THROW(root.ensureChild(u"a\\b"), RegistryError);
  Key *key = &root;
  for (int depth = 0; depth < 512; ++depth)
    key = &key->ensureChild(u"k");
  EXPECT_THROW(key->ensureChild(u"k"), RegistryError);
}

TEST_F(HiveTest, ValuesSetReplaceRemove) {
  Key &key = H.ensure({u"K"});
  key.setValue(u"Zed", REG_SZ, stringData(u"z"));
  key.setValue(u"", REG_SZ, stringData(u"default"));
  key.setValue(u"alpha", REG_DWORD, {1, 0, 0, 0});
  EXPECT_EQ(valueNames(key), (std::vector<std::string>{"", "alpha", "Zed"}));

  key.setValue(u"ALPHA", REG_BINARY, {9});
  const Value *alpha = key.findValue(u"Alpha");
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha->name, u"alpha"); // the stored case stays
  EXPECT_EQ(alpha->type, REG_BINARY);
  EXPECT_EQ(alpha->data, std::vector<std::uint8_t>{9});
  EXPECT_EQ(key.values().size(), 3u);

  EXPECT_TRUE(key.removeValue(u"zed"));
  EXPECT_FALSE(key.removeValue(u"zed"));
  EXPECT_EQ(key.findValue(u"Zed"), nullptr);
  EXPECT_EQ(valueNames(key), (std::vector<std::string>{"", "alpha"}));
}

TEST_F(HiveTest, NewKeysAreDirtyAndTouchTheirParent) {
  Key &parent = H.ensure({u"P"});
  Key &child = parent.ensureChild(u"C");
  const std::int64_t now = std::time(nullptr);
  EXPECT_NEAR(child.modifiedSeconds(), now, 2);
  EXPECT_TRUE(child.isDirty());
  EXPECT_TRUE(parent.isDirty()); // as in Wine, a new sub-key touches its parent
}

} // namespace
} // namespace reg
