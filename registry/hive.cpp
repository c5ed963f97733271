#include "registry/hive.h"

#include "registry/errors.h"
#include "registry/hive_format.h"
#include "registry/text.h"

#include <algorithm>
#include <map>

namespace reg {

namespace {

struct NameLess {
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    return compareNames(a, b) < 0;
  }
};

// Where `name` goes in a list kept in name order, or, when the list is out
// of order (hand-edited), right after the last entry that sorts before it.
template <typename List, typename NameOf>
std::size_t sortedPlace(const List &list, std::u16string_view name,
                        bool inOrder, NameOf nameOf) {
  if (inOrder) {
    const auto it =
        std::lower_bound(list.begin(), list.end(), name,
                         [&](const auto &entry, std::u16string_view n) {
                           return compareNames(nameOf(entry), n) < 0;
                         });
    return static_cast<std::size_t>(it - list.begin());
  }
  const auto it =
      std::find_if(list.rbegin(), list.rend(), [&](const auto &entry) {
        return compareNames(nameOf(entry), name) < 0;
      });
  return static_cast<std::size_t>(list.rend() - it);
}

const std::u16string &childName(const std::unique_ptr<Key> &key) {
  return key->name();
}
const std::u16string &valueName(const Value &value) { return value.name; }

std::size_t depthOf(const Key *key) {
  std::size_t depth = 0;
  for (; key->parent(); key = key->parent())
    ++depth;
  return depth;
}

} // namespace

struct Key::ChildIndex {
  // Views of the children's own names, which never change.
  std::map<std::u16string_view, Key *, NameLess> ByName;
};

Key::Key(Hive &owner, Key *parent, std::u16string name)
    : Owner(owner), Parent(parent), Name(std::move(name)) {}

Key::~Key() = default;

std::int64_t Key::modifiedSeconds() const {
  return (static_cast<std::int64_t>(ModifiedTicks) -
          static_cast<std::int64_t>(UnixEpochTicks)) /
         static_cast<std::int64_t>(TicksPerSecond);
}

const std::optional<std::u16string> &Key::className() const {
  static const std::optional<std::u16string> none;
  return ClassName ? *ClassName : none;
}

std::size_t Key::childCount() const { return Children.size(); }

Key &Key::childAt(std::size_t index) { return *Children.at(index); }

Key *Key::findChild(std::u16string_view name) { return findChildByName(name); }

Key *Key::findChildByName(std::u16string_view name) const {
  if (Index) {
    const auto it = Index->ByName.find(name);
    return it == Index->ByName.end() ? nullptr : it->second;
  }
  const std::size_t at = sortedPlace(Children, name, true, childName);
  if (at < Children.size() && compareNames(Children[at]->Name, name) == 0)
    return Children[at].get();
  return nullptr;
}

std::size_t Key::childPosition(const Key &child) const {
  if (!Index)
    return sortedPlace(Children, child.Name, true, childName);
  const auto it =
      std::find_if(Children.begin(), Children.end(),
                   [&](const auto &c) { return c.get() == &child; });
  return static_cast<std::size_t>(it - Children.begin());
}

Key &Key::ensureChild(std::u16string_view name) {
  if (Key *existing = findChildByName(name))
    return *existing;
  if (name.empty() || name.find(u'\\') != std::u16string_view::npos)
    throw RegistryError("Invalid key name '" + toUtf8(name) + "'");
  if (depthOf(this) >= MaxKeyDepth)
    throw RegistryError("Key path too deep at '" + toUtf8(name) + "'");
  markDirty(); // as in Wine, a new sub-key touches its parent
  Key &child = insertChild(name, sortedPlace(Children, name, !Index, childName),
                           currentFileTime());
  child.Dirty = true;
  return child;
}

Key &Key::insertChild(std::u16string_view name, std::size_t position,
                      std::uint64_t ticks) {
  auto child = std::unique_ptr<Key>(new Key(Owner, this, std::u16string(name)));
  child->ModifiedTicks = ticks;
  Key &ref = *child;
  Children.insert(Children.begin() + static_cast<std::ptrdiff_t>(position),
                  std::move(child));
  if (Index)
    Index->ByName.emplace(ref.Name, &ref);
  return ref;
}

Key &Key::appendChild(std::u16string_view name, std::uint64_t ticks) {
  if (!Index && !Children.empty() &&
      compareNames(Children.back()->Name, name) >= 0)
    indexChildren();
  return insertChild(name, Children.size(), ticks);
}

void Key::indexChildren() {
  Index = std::make_unique<ChildIndex>();
  for (const auto &child : Children)
    Index->ByName.emplace(child->Name, child.get());
}

bool Key::removeChild(std::u16string_view name) {
  Key *child = findChildByName(name);
  if (!child)
    return false;
  markDirty(); // as in Wine, deleting a sub-key touches its parent
  const std::size_t at = childPosition(*child);
  if (Index)
    Index->ByName.erase(child->Name);
  Children.erase(Children.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

const std::vector<Value> &Key::values() {
  parseValuesIfNeeded();
  return Values;
}

std::size_t Key::valuePosition(std::u16string_view name) const {
  const std::size_t at = sortedPlace(Values, name, ValuesSorted, valueName);
  if (ValuesSorted)
    return at < Values.size() && compareNames(Values[at].name, name) == 0
               ? at
               : std::u16string_view::npos;
  const auto it =
      std::find_if(Values.begin(), Values.end(),
                   [&](const Value &v) { return namesEqual(v.name, name); });
  return it == Values.end() ? std::u16string_view::npos
                            : static_cast<std::size_t>(it - Values.begin());
}

const Value *Key::findValue(std::u16string_view name) {
  parseValuesIfNeeded();
  const std::size_t at = valuePosition(name);
  return at == std::u16string_view::npos ? nullptr : &Values[at];
}

void Key::setValue(std::u16string_view name, std::uint32_t type,
                   std::vector<std::uint8_t> data) {
  parseValuesIfNeeded();
  const std::size_t at = valuePosition(name);
  if (at != std::u16string_view::npos) {
    Value &existing = Values[at];
    // Wine leaves the key untouched when nothing would change.
    if (existing.type == type && existing.data == data)
      return;
    existing.type = type;
    existing.data = std::move(data);
  } else {
    const std::size_t place =
        sortedPlace(Values, name, ValuesSorted, valueName);
    Values.insert(Values.begin() + static_cast<std::ptrdiff_t>(place),
                  Value{std::u16string(name), type, std::move(data)});
  }
  markDirty();
}

bool Key::removeValue(std::u16string_view name) {
  parseValuesIfNeeded();
  const std::size_t at = valuePosition(name);
  if (at == std::u16string_view::npos)
    return false;
  Values.erase(Values.begin() + static_cast<std::ptrdiff_t>(at));
  markDirty();
  return true;
}

void Key::markDirty() {
  // A dirty key is written from Values, so they must be in memory first.
  parseValuesIfNeeded();
  Dirty = true;
  ModifiedTicks = currentFileTime();
  Owner.Dirty = true;
}

void Key::parseValuesIfNeeded() {
  if (ValuesParsed)
    return;
  HiveReader::ParsedValues parsed = HiveReader::readValues(Owner, *this);
  Values = std::move(parsed.Values);
  ValuesSorted = parsed.Sorted;
  ValuesParsed = true;
}

Hive::Hive(std::string rootLine, std::string arch) {
  Source = std::string(Magic) + "\n;; All keys relative to " + rootLine + "\n";
  if (!arch.empty())
    Source += "\n#arch=" + arch + "\n";
  HeaderLength = Source.size();
  Root = std::unique_ptr<Key>(new Key(*this, nullptr, std::u16string()));
  Root->ModifiedTicks = currentFileTime();
  // Never written yet: the writer gives it a block ("[]") while it is empty.
  Root->Dirty = true;
}

Hive::~Hive() = default;

Key *Hive::find(const std::vector<std::u16string> &path) {
  Key *key = Root.get();
  for (const auto &name : path) {
    key = key->findChild(name);
    if (!key)
      return nullptr;
  }
  return key;
}

Key &Hive::ensure(const std::vector<std::u16string> &path) {
  Key *key = Root.get();
  for (const auto &name : path)
    key = &key->ensureChild(name);
  return *key;
}

bool Hive::remove(const std::vector<std::u16string> &path) {
  if (path.empty())
    return false;
  Key *parent = Root.get();
  for (std::size_t i = 0; i + 1 < path.size() && parent; ++i)
    parent = parent->findChild(path[i]);
  return parent && parent->removeChild(path.back());
}

} // namespace reg
