// One hive (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER) in memory.
//
// A hive loaded from a file remembers the text each key came from, so that a
// save rewrites only the keys that changed. Values are parsed from that text
// the first time a key's values are touched; until then a key costs little
// more than its name.
#pragma once

#include "registry/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reg {

class Hive;

class Key {
public:
  Key(const Key &) = delete;
  Key &operator=(const Key &) = delete;
  ~Key();

  const std::u16string &name() const { return Name; }
  Key *parent() const { return Parent; }

  // Sub-keys in enumeration order: the order of the file they were loaded
  // from, new keys at their place in case-insensitive name order.
  std::size_t childCount() const;
  Key &childAt(std::size_t index);
  Key *findChild(std::u16string_view name);
  // Returns the existing sub-key (any case) or creates it.
  Key &ensureChild(std::u16string_view name);
  // Removes the sub-key and everything below it; false when there is none.
  bool removeChild(std::u16string_view name);

  // Values in file order, new values at their sorted place. Parses the key's
  // text on first use; throws RegistryError when that text is malformed.
  const std::vector<Value> &values();
  const Value *findValue(std::u16string_view name);
  // Creates or replaces (keeping the stored name's case when replacing).
  void setValue(std::u16string_view name, std::uint32_t type,
                std::vector<std::uint8_t> data);
  bool removeValue(std::u16string_view name);

  // Optional lines of the key block.
  const std::optional<std::u16string> &className() const;
  bool isLink() const { return Link; }

  // Last-write time in Unix seconds. A change sets it to the present.
  std::int64_t modifiedSeconds() const;

  // True when the key has changed since it was loaded or saved.
  bool isDirty() const { return Dirty; }

private:
  friend class Hive;
  friend class HiveReader;
  friend class HiveWriter;
  struct ChildIndex;

  Key(Hive &owner, Key *parent, std::u16string name);
  void markDirty();
  void parseValuesIfNeeded();
  Key *findChildByName(std::u16string_view name) const;
  std::size_t childPosition(const Key &child) const;
  Key &insertChild(std::u16string_view name, std::size_t position,
                   std::uint64_t ticks);
  Key &appendChild(std::u16string_view name, std::uint64_t ticks);
  void indexChildren();
  std::size_t valuePosition(std::u16string_view name) const;

  Hive &Owner;
  Key *Parent;
  std::u16string Name;
  std::vector<std::unique_ptr<Key>> Children;
  std::vector<Value> Values;
  // Held apart: hardly any key has a class, and every key pays for this.
  std::unique_ptr<const std::optional<std::u16string>> ClassName;
  // A name index over Children, kept only while they are out of name order
  // (hand-edited files); in order, lookups use binary search instead.
  std::unique_ptr<ChildIndex> Index;
  // Where this key's block stands in the hive's Source (or, once a save
  // wrote it anew, in its Rewritten blocks); Length 0 when it has no block.
  // Hive texts are limited to 4 GiB.
  std::uint32_t SourceOffset = 0;
  std::uint32_t SourceLength = 0;
  // Last-write time as a Windows FILETIME (100 ns ticks since 1601).
  std::uint64_t ModifiedTicks = 0;
  bool Link = false;
  bool Dirty = false;
  bool ValuesParsed = true;
  bool ValuesSorted = true;
  bool BlockRewritten = false; // see SourceOffset
};

class Hive {
public:
  // An empty hive whose header names `rootName` (e.g. "REGISTRY\\Machine"
  // as it stands in the file, with doubled backslashes) and `arch` ("win32").
  Hive(std::string rootLine, std::string arch);
  Hive(const Hive &) = delete;
  Hive &operator=(const Hive &) = delete;
  Hive(Hive &&) = delete;
  ~Hive();

  Key &root() { return *Root; }

  // Follows `path` (components without separators) from the root; nullptr
  // when a component is missing.
  Key *find(const std::vector<std::u16string> &path);
  Key &ensure(const std::vector<std::u16string> &path);
  // Removes the key at `path` with all below it; false when missing. The
  // root cannot be removed.
  bool remove(const std::vector<std::u16string> &path);

  // True when any key changed, was added or was removed since load or save.
  bool isDirty() const { return Dirty; }

private:
  friend class Key;
  friend class HiveReader;
  friend class HiveWriter;

  // The text the hive was loaded from; unchanged keys are written back from
  // it. Its first HeaderLength bytes are the lines before the first key.
  std::string Source;
  std::size_t HeaderLength = 0;
  // The blocks that saves wrote anew, so that a save need not hold a second
  // copy of the whole file.
  std::string Rewritten;
  // True while Source is the hive's file as it stands: loaded and not saved
  // with changes since.
  bool SourceIsFile = false;
  std::string SourceName; // file name used in parse error messages
  std::unique_ptr<Key> Root;
  bool Dirty = false;
};

} // namespace reg
