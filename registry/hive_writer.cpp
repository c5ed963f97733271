#include "registry/hive_format.h"
#include "registry/text.h"

#include <algorithm>
#include <cstring>
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

// Escapes one UTF-16 unit as Wine does: above 127 as \x (padded to four
// digits when an ASCII hex digit follows, so the reader knows where it
// ends), below 32 as a C or octal escape, and a backslash or either `quote`
// character with a backslash before it. `next` is 0 at the end.
void appendEscapedUnit(std::string &out, char16_t c, char16_t next, char quote1,
                       char quote2) {
  static constexpr char CEscapes[] = ".......abtnvfr.............e....";
  if (c > 127) {
    out += "\\x";
    if (isAsciiHexDigit(next))
      appendHexPadded(out, c, 4);
    else
      appendHex(out, c);
  } else if (c < 32) {
    out.push_back('\\');
    if (CEscapes[c] != '.')
      out.push_back(CEscapes[c]);
    else
      appendOctal(out, c, next >= '0' && next <= '7');
  } else {
    if (c == '\\' || c == quote1 || c == quote2)
      out.push_back('\\');
    out.push_back(static_cast<char>(c));
  }
}

bool isPlainUnit(char16_t c, char quote1, char quote2) {
  return c >= 32 && c <= 127 && c != '\\' && c != quote1 && c != quote2;
}

// Escapes `count` UTF-16 units (unitAt(i)); runs of plain ASCII, most of the
// text, are copied as they are.
template <typename UnitAt>
void appendEscaped(std::string &out, std::size_t count, UnitAt unitAt,
                   char quote1, char quote2) {
  std::size_t i = 0;
  while (i < count) {
    std::size_t run = i;
    while (run < count && isPlainUnit(unitAt(run), quote1, quote2))
      ++run;
    if (run > i) {
      const std::size_t at = out.size();
      out.resize(at + (run - i));
      for (std::size_t k = i; k < run; ++k)
        out[at + (k - i)] = static_cast<char>(unitAt(k));
      i = run;
      continue;
    }
    appendEscapedUnit(out, unitAt(i), i + 1 < count ? unitAt(i + 1) : 0, quote1,
                      quote2);
    ++i;
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

std::size_t HiveWriter::write(const Output &out, bool forSave) {
  Out = &out;
  ForSave = forSave;
  Written = 0;
  Last = '\n';
  Path.clear();
  NewBlocks.clear();
  Placed.clear();
  KeptRewritten.clear();
  KeptBytes = 0;
  KeptFromSource = 0;
  emit(std::string_view(H.Source).substr(0, H.HeaderLength));
  writeKey(*H.Root);
  return Written;
}

void HiveWriter::emit(std::string_view text) {
  if (text.empty())
    return;
  (*Out)(text);
  Written += text.size();
  Last = text.back();
}

// Keys are written depth-first in enumeration order, as Wine does.
void HiveWriter::writeKey(Key &key) {
  const std::size_t pathLength = Path.size();
  if (key.Parent) {
    if (key.Parent->Parent)
      Path += "\\\\";
    appendEscapedName(Path, key.Name, '[', ']');
  }
  const bool unchanged = !key.Dirty && key.SourceLength;
  const bool changed = key.Dirty && isWrittenByWine(key, key.Values);
  if (unchanged || changed) {
    // A hand-edited last line without its '\n' must not run into the block.
    if (Last != '\n')
      emit("\n");
    if (unchanged)
      copyBlock(key);
    else
      writeNewBlock(key);
  }
  for (const auto &child : key.Children)
    writeKey(*child);
  Path.resize(pathLength);
}

void HiveWriter::copyBlock(Key &key) {
  const std::string &text = key.BlockRewritten ? H.Rewritten : H.Source;
  emit(std::string_view(text).substr(key.SourceOffset, key.SourceLength));
  if (key.BlockRewritten) {
    KeptRewritten.push_back(&key);
    KeptBytes += key.SourceLength;
  } else {
    ++KeptFromSource;
  }
}

void HiveWriter::writeNewBlock(Key &key) {
  formatBlock(key);
  emit(Block);
  if (ForSave) {
    Placed.push_back({&key, NewBlocks.size(), Block.size()});
    NewBlocks += Block;
  }
}

void HiveWriter::formatBlock(const Key &key) {
  Block.clear();
  const auto ticks = static_cast<std::int64_t>(key.ModifiedTicks);
  Block += "\n[";
  Block += Path;
  Block += "] ";
  Block += std::to_string(static_cast<std::uint32_t>(
      (ticks - static_cast<std::int64_t>(UnixEpochTicks)) /
      static_cast<std::int64_t>(TicksPerSecond)));
  Block += "\n#time=";
  appendHex(Block, static_cast<std::uint32_t>(key.ModifiedTicks >> 32));
  appendHexPadded(Block, static_cast<std::uint32_t>(key.ModifiedTicks), 8);
  Block.push_back('\n');
  if (const auto &className = key.className()) {
    Block += "#class=\"";
    appendEscapedName(Block, *className, '"', '"');
    Block += "\"\n";
  }
  if (key.Link)
    Block += "#link\n";
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
}

void HiveWriter::formatValue(const Value &value) {
  const std::size_t lineStart = Block.size();
  if (value.name.empty()) {
    Block += "@=";
  } else {
    Block.push_back('"');
    appendEscapedName(Block, value.name, '"', '"');
    Block += "\"=";
  }
  const auto &data = value.data;
  if (isWellFormedString(value)) {
    if (value.type != REG_SZ) {
      Block += "str(";
      appendHex(Block, value.type);
      Block += "):";
    }
    Block.push_back('"');
    appendEscaped(
        Block, data.size() / 2 - 1,
        [&](std::size_t i) {
          return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        },
        '"', '"');
    Block += "\"\n";
    return;
  }
  if (value.type == REG_DWORD && data.size() == 4) {
    Block += "dword:";
    appendHexPadded(
        Block,
        static_cast<std::uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16)) |
            (static_cast<std::uint32_t>(data[3]) << 24),
        8);
    Block.push_back('\n');
    return;
  }
  if (value.type == REG_BINARY) {
    Block += "hex:";
  } else {
    Block += "hex(";
    appendHex(Block, value.type);
    Block += "):";
  }
  appendHexBytes(data, Block.size() - lineStart);
  Block.push_back('\n');
}

// Hex data, written straight into a buffer sized for the longest outcome.
// Wine counts the columns of the line and breaks it after the comma that
// takes it past 76, going on after two blanks.
void HiveWriter::appendHexBytes(const std::vector<std::uint8_t> &data,
                                std::size_t column) {
  const std::size_t at = Block.size();
  // Every line but the first holds 25 bytes; the first at least one.
  Block.resize(at + 3 * data.size() + 4 * (2 + data.size() / 24));
  char *p = Block.data() + at;
  for (std::size_t i = 0; i < data.size(); ++i) {
    *p++ = HexDigits[data[i] >> 4];
    *p++ = HexDigits[data[i] & 0xf];
    column += 2;
    if (i + 1 < data.size()) {
      *p++ = ',';
      if (++column > 76) {
        std::memcpy(p, "\\\n  ", 4);
        p += 4;
        column = 2;
      }
    }
  }
  Block.resize(static_cast<std::size_t>(p - Block.data()));
}

bool HiveWriter::canAdopt() const {
  return KeptBytes + NewBlocks.size() <= MaxHiveText;
}

void HiveWriter::adopt(Hive &hive) {
  keepRewrittenBlocks(hive);
  std::vector<Key *> pending{hive.Root.get()};
  while (!pending.empty()) {
    Key *key = pending.back();
    pending.pop_back();
    if (key->Dirty) {
      key->Dirty = false;
      key->SourceLength = 0; // no block, or one that no longer says it all
    }
    for (const auto &child : key->Children)
      pending.push_back(child.get());
  }
  const std::size_t base = hive.Rewritten.size();
  hive.Rewritten += NewBlocks;
  for (const Formatted &block : Placed) {
    block.K->SourceOffset = static_cast<std::uint32_t>(base + block.Offset);
    block.K->SourceLength = static_cast<std::uint32_t>(block.Length);
    block.K->BlockRewritten = true;
  }
  if (KeptFromSource == 0) { // every key written anew: only the header is used
    hive.Source.resize(hive.HeaderLength);
    hive.Source.shrink_to_fit();
  }
  hive.SourceIsFile = false;
  hive.Dirty = false;
}

// Blocks rewritten by earlier saves and since replaced or removed are
// dropped once they would make up most of what is kept.
void HiveWriter::keepRewrittenBlocks(Hive &hive) {
  const std::size_t kept = KeptBytes + NewBlocks.size();
  if (hive.Rewritten.size() + NewBlocks.size() <= 2 * kept + 65536 &&
      hive.Rewritten.size() + NewBlocks.size() <= MaxHiveText)
    return;
  std::string compact;
  compact.reserve(kept);
  for (Key *key : KeptRewritten) {
    const std::size_t offset = compact.size();
    compact.append(hive.Rewritten, key->SourceOffset, key->SourceLength);
    key->SourceOffset = static_cast<std::uint32_t>(offset);
  }
  hive.Rewritten = std::move(compact);
}

} // namespace reg
