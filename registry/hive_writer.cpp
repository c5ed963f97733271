#include "registry/hive_format.h"
#include "registry/text.h"

#include <algorithm>
#include <numeric>

namespace reg {

namespace {

constexpr char HexDigits[] = "0123456789abcdef";

bool isAsciiHexDigit(char16_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
         (c >= 'A' && c <= 'F');
}

// printf("%x").
void appendHex(std::string &out, std::uint32_t value) {
  char digits[8];
  int n = 0;
  do {
    digits[n++] = HexDigits[value & 0xf];
    value >>= 4;
  } while (value);
  while (n)
    out.push_back(digits[--n]);
}

// printf("%0*x").
void appendHexPadded(std::string &out, std::uint32_t value, int width) {
  for (int shift = 4 * (width - 1); shift >= 0; shift -= 4)
    out.push_back(HexDigits[(value >> shift) & 0xf]);
}

void appendOctal(std::string &out, unsigned value, bool threeDigits) {
  if (threeDigits || value >= 0100)
    out.push_back(static_cast<char>('0' + ((value >> 6) & 7)));
  if (threeDigits || value >= 010)
    out.push_back(static_cast<char>('0' + ((value >> 3) & 7)));
  out.push_back(static_cast<char>('0' + (value & 7)));
}

// Escapes `count` UTF-16 units (unitAt(i)) as Wine does: above 127 as \x
// (padded to four digits when an ASCII hex digit follows, so the reader
// knows where it ends), below 32 as a C or octal escape, and a backslash or
// either `quote` character with a backslash before it.
template <typename UnitAt>
void appendEscaped(std::string &out, std::size_t count, UnitAt unitAt,
                   char quote1, char quote2) {
  static constexpr char CEscapes[] = ".......abtnvfr.............e....";
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t c = unitAt(i);
    const bool hasNext = i + 1 < count;
    if (c > 127) {
      out += "\\x";
      if (hasNext && isAsciiHexDigit(unitAt(i + 1)))
        appendHexPadded(out, c, 4);
      else
        appendHex(out, c);
    } else if (c < 32) {
      out.push_back('\\');
      if (CEscapes[c] != '.')
        out.push_back(CEscapes[c]);
      else
        appendOctal(out, c,
                    hasNext && unitAt(i + 1) >= '0' && unitAt(i + 1) <= '7');
    } else {
      if (c == '\\' || c == quote1 || c == quote2)
        out.push_back('\\');
      out.push_back(static_cast<char>(c));
    }
  }
}

void appendEscapedName(std::string &out, std::u16string_view name, char quote1,
                       char quote2) {
  appendEscaped(
      out, name.size(), [&](std::size_t i) { return name[i]; }, quote1, quote2);
}

// Wine writes string data as text only when it is whole UTF-16 ending in a
// zero; anything else goes out as hex.
bool isWellFormedString(const Value &value) {
  const auto &data = value.data;
  return (value.type == REG_SZ || value.type == REG_EXPAND_SZ ||
          value.type == REG_MULTI_SZ) &&
         data.size() >= 2 && data.size() % 2 == 0 &&
         data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
}

// Wine writes a key when it has values or no sub-keys, a class or is a
// link; other keys show only through their sub-keys' paths.
bool isWrittenByWine(const Key &key, const std::vector<Value> &values) {
  return !values.empty() || key.childCount() == 0 || key.className() ||
         key.isLink();
}

} // namespace

bool HiveWriter::isUnchanged(const Hive &hive) {
  return hive.SourceIsFile && !hive.Dirty;
}

std::string HiveWriter::write(std::vector<Placement> *placements) {
  Placements = placements;
  Out.clear();
  Out.reserve(H.Source.size() + H.Source.size() / 8 + 4096);
  Out.append(H.Source, 0, H.HeaderLength);
  if (Placements)
    Lines =
        1 + static_cast<std::size_t>(std::count(Out.begin(), Out.end(), '\n'));
  Path.clear();
  writeKey(*H.Root);
  return std::move(Out);
}

void HiveWriter::writeKey(const Key &key) {
  const std::size_t pathLength = Path.size();
  if (key.Parent) {
    if (key.Parent->Parent)
      Path += "\\\\";
    appendEscapedName(Path, key.Name, '[', ']');
  }
  if (!key.Dirty) {
    if (key.SourceLength)
      copyBlock(key);
  } else if (isWrittenByWine(key, key.Values)) {
    formatBlock(key);
  }
  for (const auto &child : key.Children)
    writeKey(*child);
  Path.resize(pathLength);
}

void HiveWriter::copyBlock(const Key &key) {
  // A hand-edited last line without its '\n' must not run into what follows.
  if (!Out.empty() && Out.back() != '\n') {
    Out.push_back('\n');
    ++Lines;
  }
  const std::size_t offset = Out.size();
  Out.append(H.Source, key.SourceOffset, key.SourceLength);
  place(key, offset);
}

void HiveWriter::formatBlock(const Key &key) {
  if (!Out.empty() && Out.back() != '\n') {
    Out.push_back('\n');
    ++Lines;
  }
  const std::size_t offset = Out.size();
  const auto ticks = static_cast<std::int64_t>(key.ModifiedTicks);
  Out += "\n[";
  Out += Path;
  Out += "] ";
  Out += std::to_string(static_cast<std::uint32_t>(
      (ticks - static_cast<std::int64_t>(UnixEpochTicks)) /
      static_cast<std::int64_t>(TicksPerSecond)));
  Out += "\n#time=";
  appendHex(Out, static_cast<std::uint32_t>(key.ModifiedTicks >> 32));
  appendHexPadded(Out, static_cast<std::uint32_t>(key.ModifiedTicks), 8);
  Out.push_back('\n');
  if (key.ClassName) {
    Out += "#class=\"";
    appendEscapedName(Out, *key.ClassName, '"', '"');
    Out += "\"\n";
  }
  if (key.Link)
    Out += "#link\n";
  if (key.ValuesSorted) {
    for (const Value &value : key.Values)
      formatValue(value);
  } else {
    // Values read from an unsorted hand-edited block: Wine writes them in
    // name order.
    std::vector<std::size_t> order(key.Values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) {
      return compareNames(key.Values[a].name, key.Values[b].name) < 0;
    });
    for (const std::size_t i : order)
      formatValue(key.Values[i]);
  }
  place(key, offset);
}

void HiveWriter::formatValue(const Value &value) {
  const std::size_t lineStart = Out.size();
  if (value.name.empty()) {
    Out += "@=";
  } else {
    Out.push_back('"');
    appendEscapedName(Out, value.name, '"', '"');
    Out += "\"=";
  }
  const auto &data = value.data;
  if (isWellFormedString(value)) {
    if (value.type != REG_SZ) {
      Out += "str(";
      appendHex(Out, value.type);
      Out += "):";
    }
    Out.push_back('"');
    appendEscaped(
        Out, data.size() / 2 - 1,
        [&](std::size_t i) {
          return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        },
        '"', '"');
    Out += "\"\n";
    return;
  }
  if (value.type == REG_DWORD && data.size() == 4) {
    Out += "dword:";
    appendHexPadded(
        Out,
        static_cast<std::uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16)) |
            (static_cast<std::uint32_t>(data[3]) << 24),
        8);
    Out.push_back('\n');
    return;
  }
  if (value.type == REG_BINARY) {
    Out += "hex:";
  } else {
    Out += "hex(";
    appendHex(Out, value.type);
    Out += "):";
  }
  // Wine counts the columns of the line and breaks it after the comma that
  // takes it past 76, going on after two blanks.
  std::size_t column = Out.size() - lineStart;
  for (std::size_t i = 0; i < data.size(); ++i) {
    Out.push_back(HexDigits[data[i] >> 4]);
    Out.push_back(HexDigits[data[i] & 0xf]);
    column += 2;
    if (i + 1 < data.size()) {
      Out.push_back(',');
      if (++column > 76) {
        Out += "\\\n  ";
        column = 2;
      }
    }
  }
  Out.push_back('\n');
}

void HiveWriter::place(const Key &key, std::size_t offset) {
  if (!Placements)
    return;
  // The tree belongs to the hive being saved; only saveHiveFile, which holds
  // it mutable, asks for placements.
  Placements->push_back(
      {const_cast<Key *>(&key), offset, Out.size() - offset, Lines});
  Lines += static_cast<std::size_t>(std::count(
      Out.begin() + static_cast<std::ptrdiff_t>(offset), Out.end(), '\n'));
}

void HiveWriter::adopt(Hive &hive, std::string text,
                       const std::vector<Placement> &placements) {
  std::vector<Key *> pending{hive.Root.get()};
  while (!pending.empty()) {
    Key *key = pending.back();
    pending.pop_back();
    key->Dirty = false;
    key->SourceLength = 0;
    for (const auto &child : key->Children)
      pending.push_back(child.get());
  }
  for (const Placement &p : placements) {
    p.K->SourceOffset = p.Offset;
    p.K->SourceLength = p.Length;
    p.K->SourceLine = p.Line;
  }
  hive.Source = std::move(text);
  hive.SourceIsFile = true;
  hive.Dirty = false;
}

} // namespace reg
