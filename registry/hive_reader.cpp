#include "registry/errors.h"
#include "registry/hive_format.h"
#include "registry/text.h"
#include "registry/utf8.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <type_traits>

namespace reg {

namespace {

// A problem on the cursor's current line; the reader adds file and line.
struct SyntaxError {
  const char *What;
};

[[noreturn]] void syntaxError(const char *what) { throw SyntaxError{what}; }

// "system.reg:1234: unterminated string".
std::string errorText(const std::string &name, std::size_t line,
                      const char *what) {
  return name + ":" + std::to_string(line) + ": " + what;
}

// The number of the line at `offset`; counted only for an error message,
// so that keys need not carry their line numbers.
std::size_t lineAt(const std::string &text, std::size_t offset) {
  return 1 + static_cast<std::size_t>(std::count(
                 text.begin(),
                 text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

bool inNameOrder(const std::vector<Value> &values) {
  for (std::size_t i = 1; i < values.size(); ++i)
    if (compareNames(values[i - 1].name, values[i].name) >= 0)
      return false;
  return true;
}

// Blanks around the items of a line. A '\r' counts as one, so that a file
// saved with CRLF line ends by a Windows editor still reads.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::size_t skipBlanks(std::string_view s, std::size_t pos) {
  while (pos < s.size() && isBlank(s[pos]))
    ++pos;
  return pos;
}

bool restIsBlank(std::string_view s, std::size_t pos) {
  return skipBlanks(s, pos) == s.size();
}

// The value of a hex digit, or -1; by table, as hex data is most of a hive.
int hexDigit(char c) {
  static constexpr auto Table = [] {
    std::array<signed char, 256> table{};
    for (int i = 0; i < 256; ++i)
      table[i] = static_cast<signed char>(i >= '0' && i <= '9'   ? i - '0'
                                          : i >= 'a' && i <= 'f' ? i - 'a' + 10
                                          : i >= 'A' && i <= 'F' ? i - 'A' + 10
                                                                 : -1);
    return table;
  }();
  return Table[static_cast<unsigned char>(c)];
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// Reads 1..maxDigits hex digits at `pos` into `value`; false when there are
// none or more.
bool readHexNumber(std::string_view s, std::size_t &pos, std::size_t maxDigits,
                   std::uint64_t &value) {
  const std::size_t start = pos;
  value = 0;
  for (; pos < s.size() && pos - start < maxDigits; ++pos) {
    const int digit = hexDigit(s[pos]);
    if (digit < 0)
      break;
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  return pos > start && (pos == s.size() || hexDigit(s[pos]) < 0);
}

// Where decoded text goes: a name (UTF-16), string data (UTF-16LE bytes), or
// nowhere when the load only checks a value line.
struct NameSink {
  std::u16string &Out;
  void ascii(const char *p, std::size_t n) { Out.append(p, p + n); }
  void unit(char16_t u) { Out.push_back(u); }
};

struct DataSink {
  std::vector<std::uint8_t> &Out;
  void ascii(const char *p, std::size_t n) {
    const std::size_t at = Out.size();
    Out.resize(at + 2 * n);
    for (std::size_t i = 0; i < n; ++i) {
      Out[at + 2 * i] = static_cast<std::uint8_t>(p[i]);
      Out[at + 2 * i + 1] = 0;
    }
  }
  void unit(char16_t u) {
    Out.push_back(static_cast<std::uint8_t>(u & 0xff));
    Out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
};

struct NoSink {
  void ascii(const char *, std::size_t) {}
  void unit(char16_t) {}
};

// A character that stands for itself: ASCII other than NUL, the backslash
// and the end character.
bool isPlain(char c, char endChar) {
  const auto u = static_cast<unsigned char>(c);
  return u - 1u < 0x7fu && c != '\\' && c != endChar;
}

// How many plain characters start `s`. Most of a hive's text is plain, so
// it is checked eight bytes at a time: a word passes when none of its bytes
// is zero, has the high bit set, or equals the backslash or `endChar`.
std::size_t plainRun(std::string_view s, char endChar) {
  constexpr std::uint64_t Ones = 0x0101010101010101u;
  constexpr std::uint64_t Highs = 0x8080808080808080u;
  const auto anyZeroByte = [](std::uint64_t x) {
    return (x - Ones) & ~x & Highs;
  };
  const std::uint64_t backslashes = Ones * static_cast<unsigned char>('\\');
  const std::uint64_t ends = Ones * static_cast<unsigned char>(endChar);
  std::size_t n = 0;
  for (; n + 8 <= s.size(); n += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + n, 8);
    if ((word & Highs) | anyZeroByte(word) | anyZeroByte(word ^ backslashes) |
        anyZeroByte(word ^ ends))
      break;
  }
  while (n < s.size() && isPlain(s[n], endChar))
    ++n;
  return n;
}

// One escape after a backslash at s[pos - 1]; returns false for a character
// that stands for itself after the backslash (then pos is at it).
template <typename Sink>
bool decodeEscape(std::string_view s, std::size_t &pos, Sink &sink) {
  static constexpr std::string_view Letters = "abefnrtv";
  static constexpr char16_t Controls[] = {7, 8, 27, 12, 10, 13, 9, 11};
  const char c = s[pos];
  if (const auto letter = Letters.find(c); letter != std::string_view::npos) {
    sink.unit(Controls[letter]);
    ++pos;
    return true;
  }
  if (c == 'x') {
    ++pos;
    unsigned unit = 0;
    std::size_t digits = 0;
    for (; digits < 4 && pos < s.size() && hexDigit(s[pos]) >= 0; ++digits)
      unit = unit * 16 + static_cast<unsigned>(hexDigit(s[pos++]));
    sink.unit(digits ? static_cast<char16_t>(unit) : u'x');
    return true;
  }
  if (isOctal(c)) {
    unsigned unit = 0;
    for (std::size_t digits = 0;
         digits < 3 && pos < s.size() && isOctal(s[pos]); ++digits)
      unit = unit * 8 + static_cast<unsigned>(s[pos++] - '0');
    sink.unit(static_cast<char16_t>(unit));
    return true;
  }
  return false;
}

// Decodes escaped text from `pos` up to the unescaped `endChar` or the end
// of `s`, as Wine's reader does: C escapes, \xN..NNNN (up to four hex
// digits), octal \N..NNN, any other escaped character stands for itself;
// raw UTF-8 is decoded and invalid bytes are skipped. Returns the position
// of `endChar`, or npos when the text ends first.
template <typename Sink>
std::size_t decodeUntil(std::string_view s, std::size_t pos, char endChar,
                        Sink sink) {
  const char *end = s.data() + s.size();
  while (pos < s.size()) {
    // Most text is plain ASCII: pass it on a run at a time.
    if (const std::size_t run = plainRun(s.substr(pos), endChar)) {
      sink.ascii(s.data() + pos, run);
      pos += run;
      continue;
    }
    char c = s[pos];
    if (c == endChar)
      return pos;
    if (c == '\\') {
      if (++pos == s.size())
        break;
      if (s[pos] != '\\' && decodeEscape(s, pos, sink))
        continue;
      c = s[pos]; // stands for itself, even the end character
    }
    if (c == '\0')
      syntaxError("NUL byte in text");
    if (static_cast<unsigned char>(c) < 0x80) {
      sink.unit(static_cast<char16_t>(c));
      ++pos;
      continue;
    }
    const char *p = s.data() + pos;
    const char32_t cp = utf8::decode(p, end);
    pos = static_cast<std::size_t>(p - s.data());
    if (cp == utf8::Invalid)
      continue;
    if (cp < 0x10000) {
      sink.unit(static_cast<char16_t>(cp));
    } else {
      sink.unit(static_cast<char16_t>(0xd800 | ((cp - 0x10000) >> 10)));
      sink.unit(static_cast<char16_t>(0xdc00 | ((cp - 0x10000) & 0x3ff)));
    }
  }
  return std::string_view::npos;
}

// Where decodeUntil would stop, found without decoding: an end character
// is escaped exactly when an odd number of backslashes stands before it,
// since an escape takes the one character after its backslash and what may
// follow (hex or octal digits) is neither a backslash nor an end character.
std::size_t findUnescaped(std::string_view s, std::size_t start, char endChar) {
  std::size_t end = start;
  for (;; ++end) {
    end = s.find(endChar, end);
    if (end == std::string_view::npos)
      break;
    std::size_t backslashes = 0;
    while (end - backslashes > start && s[end - backslashes - 1] == '\\')
      ++backslashes;
    if (backslashes % 2 == 0)
      break;
  }
  if (s.substr(start, end - start).find('\0') != std::string_view::npos)
    syntaxError("NUL byte in text");
  return end;
}

// decodeUntil for text that must end with `endChar`: returns the position
// after it. Text only checked needs no decoding, just its end.
template <typename Sink>
std::size_t decodeEscaped(std::string_view s, std::size_t pos, char endChar,
                          const char *unterminated, Sink sink) {
  std::size_t end;
  if constexpr (std::is_same_v<Sink, NoSink>)
    end = findUnescaped(s, pos, endChar);
  else
    end = decodeUntil(s, pos, endChar, sink);
  if (end == std::string_view::npos)
    syntaxError(unterminated);
  return end + 1;
}

// Where the path component starting at `pos` of a raw key path ends: at the
// next escaped backslash ("\\"), the separator Wine writes.
std::size_t rawComponentEnd(std::string_view path, std::size_t pos) {
  while (pos < path.size()) {
    if (path[pos] != '\\')
      ++pos;
    else if (pos + 1 < path.size() && path[pos + 1] == '\\')
      return pos;
    else
      pos += 2;
  }
  return path.size();
}

// How many bytes `a` and `b` share at their start, compared eight at a time:
// consecutive key paths mostly share a long start.
std::size_t commonStart(std::string_view a, std::string_view b) {
  const std::size_t size = std::min(a.size(), b.size());
  std::size_t n = 0;
  for (; n + 8 <= size; n += 8) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a.data() + n, 8);
    std::memcpy(&y, b.data() + n, 8);
    if (x != y)
      break;
  }
  while (n < size && a[n] == b[n])
    ++n;
  return n;
}

bool isComponentEnd(std::string_view path, std::size_t pos) {
  return pos == path.size() || path.substr(pos, 2) == "\\\\";
}

std::size_t decodeInto(std::u16string &out, std::string_view s, std::size_t pos,
                       char endChar, const char *unterminated) {
  return decodeEscaped(s, pos, endChar, unterminated, NameSink{out});
}

void expectLineEnd(std::string_view s, std::size_t pos, const char *what) {
  if (!restIsBlank(s, pos))
    syntaxError(what);
}

// The value being read: kept (Store) when a key's values are parsed, only
// checked during the load.
template <bool Store> struct ValueOut {
  Value &V;
  auto nameSink() {
    if constexpr (Store)
      return NameSink{V.name};
    else
      return NoSink{};
  }
  auto dataSink() {
    if constexpr (Store)
      return DataSink{V.data};
    else
      return NoSink{};
  }
  void byte(std::uint8_t b) {
    if constexpr (Store)
      V.data.push_back(b);
  }
};

// String data: UTF-16LE with the terminating zero.
template <bool Store>
void parseStringData(std::string_view line, std::size_t pos,
                     ValueOut<Store> out) {
  pos = decodeEscaped(line, pos, '"', "unterminated string", out.dataSink());
  out.byte(0);
  out.byte(0);
  expectLineEnd(line, pos, "unexpected text after the value");
}

template <bool Store>
void parseDwordData(std::string_view line, std::size_t pos,
                    ValueOut<Store> out) {
  std::uint64_t value = 0;
  if (!readHexNumber(line, pos, 8, value))
    syntaxError("bad dword value");
  expectLineEnd(line, pos, "unexpected text after the value");
  for (int i = 0; i < 4; ++i)
    out.byte(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Bytes as hex pairs separated by commas; a '\' at the end of a line
// continues the list on the next line.
template <bool Store>
void parseHexData(LineCursor &cursor, std::size_t pos, ValueOut<Store> out) {
  std::string_view line = cursor.line();
  for (;;) {
    pos = skipBlanks(line, pos);
    if (pos == line.size())
      return;
    const int high = hexDigit(line[pos]);
    if (high >= 0) {
      int byte = high;
      ++pos;
      if (pos < line.size() && hexDigit(line[pos]) >= 0) {
        byte = byte * 16 + hexDigit(line[pos++]);
        if (pos < line.size() && hexDigit(line[pos]) >= 0)
          syntaxError("bad hex data");
      }
      out.byte(static_cast<std::uint8_t>(byte));
      pos = skipBlanks(line, pos);
      if (pos < line.size() && line[pos] == ',')
        ++pos;
      continue;
    }
    if (line[pos] != '\\' || !restIsBlank(line, pos + 1))
      syntaxError("bad hex data");
    if (cursor.isLastLine())
      syntaxError("hex data continues past the end of the file");
    cursor.next();
    line = cursor.line();
    pos = 0;
  }
}

bool startsWith(std::string_view s, std::size_t pos, std::string_view prefix) {
  return s.substr(pos, prefix.size()) == prefix;
}

// The type prefix of the data ("dword:", "hex(b):"...): sets `type` and
// returns how the data is written.
enum class DataForm { String, Dword, Hex };

DataForm parseDataType(std::string_view line, std::size_t &pos,
                       std::uint32_t &type) {
  struct Tag {
    std::string_view Text;
    std::uint32_t Type;
    DataForm Form;
  };
  static constexpr Tag Tags[] = {
      {"\"", REG_SZ, DataForm::String},
      {"str:\"", REG_SZ, DataForm::String},
      {"str(2):\"", REG_EXPAND_SZ, DataForm::String},
      {"str(7):\"", REG_MULTI_SZ, DataForm::String},
      {"dword:", REG_DWORD, DataForm::Dword},
      {"hex:", REG_BINARY, DataForm::Hex},
  };
  for (const Tag &tag : Tags) {
    if (startsWith(line, pos, tag.Text)) {
      pos += tag.Text.size();
      type = tag.Type;
      return tag.Form;
    }
  }
  if (startsWith(line, pos, "hex(")) {
    pos += 4;
    std::uint64_t number = 0;
    if (!readHexNumber(line, pos, 8, number) || !startsWith(line, pos, "):"))
      syntaxError("bad hex(type) prefix");
    pos += 2;
    type = static_cast<std::uint32_t>(number);
    return DataForm::Hex;
  }
  syntaxError("unknown value type");
}

// Parses the value line at the cursor (and its continuation lines) into
// `value`, or only checks it; the cursor ends on the value's last line.
template <bool Store> void parseValue(LineCursor &cursor, Value &value) {
  ValueOut<Store> out{value};
  const std::string_view line = cursor.line();
  std::size_t pos = skipBlanks(line, 0);
  value.name.clear();
  value.data.clear();
  if (line[pos] == '@')
    ++pos;
  else
    pos = decodeEscaped(line, pos + 1, '"', "unterminated value name",
                        out.nameSink());
  pos = skipBlanks(line, pos);
  if (pos == line.size() || line[pos] != '=')
    syntaxError("missing '=' after the value name");
  pos = skipBlanks(line, pos + 1);
  switch (parseDataType(line, pos, value.type)) {
  case DataForm::String:
    parseStringData(line, pos, out);
    break;
  case DataForm::Dword:
    parseDwordData(line, pos, out);
    break;
  case DataForm::Hex:
    parseHexData(cursor, pos, out);
    break;
  }
}

bool isValueLine(std::string_view line) {
  const std::size_t pos = skipBlanks(line, 0);
  return pos < line.size() && (line[pos] == '@' || line[pos] == '"');
}

} // namespace

HiveReader::HiveReader(Hive &hive)
    : H(hive), Cursor(hive.Source, 0, hive.Source.size(), 1) {}

std::unique_ptr<Hive> HiveReader::parse(std::string text, std::string name) {
  if (text.size() > MaxHiveText)
    throw RegistryError(name + ": the file is too large for a hive");
  auto hive = std::make_unique<Hive>(std::string(), std::string());
  hive->Source = std::move(text);
  hive->SourceName = std::move(name);
  hive->HeaderLength = 0;
  hive->SourceIsFile = true;
  hive->Root->Dirty = false;
  HiveReader(*hive).read();
  return hive;
}

void HiveReader::read() {
  try {
    readHeader();
    readKeys();
  } catch (const SyntaxError &error) {
    fail(error.What);
  }
  finishMergedKeys();
}

void HiveReader::fail(const char *what) const {
  throw RegistryError(errorText(H.SourceName, Cursor.lineNumber(), what));
}

void HiveReader::readHeader() {
  if (Cursor.atEnd() || Cursor.line() != Magic)
    syntaxError("not a Wine registry file (the first line is not \"WINE "
                "REGISTRY Version 2\")");
  PreviousLineStart = Cursor.offset();
  Cursor.next();
}

void HiveReader::readKeys() {
  for (; !Cursor.atEnd(); Cursor.next()) {
    const std::string_view line = Cursor.line();
    const std::size_t start = Cursor.offset();
    readLine(line);
    // A value's continuation lines belong to it, even an empty last one.
    PreviousLineEmpty = line.empty() && Cursor.offset() == start;
    PreviousLineStart = Cursor.offset();
  }
  endBlock(H.Source.size());
}

void HiveReader::readLine(std::string_view line) {
  const std::size_t pos = skipBlanks(line, 0);
  if (pos == line.size())
    return;
  switch (line[pos]) {
  case '[':
    readKeyLine(line);
    return;
  case '@':
  case '"':
    if (!Current)
      syntaxError("value line before the first key");
    parseValue<false>(Cursor, ValueScratch);
    CurrentHasValues = true;
    return;
  case '#':
    if (Current)
      readOption(line.substr(pos));
    return; // options before the first key (#arch) stay in the header
  case ';':
    return;
  default:
    syntaxError("unrecognized line");
  }
}

// "[path] seconds": the key's path relative to the hive root and its
// last-write time in Unix seconds (optional, as for Wine).
void HiveReader::readKeyLine(std::string_view line) {
  // The block of a key starts with the empty line written before it.
  const std::size_t blockStart =
      PreviousLineEmpty ? PreviousLineStart : Cursor.offset();
  endBlock(blockStart);

  const std::size_t open = skipBlanks(line, 0) + 1;
  std::size_t pos =
      decodeEscaped(line, open, ']', "unterminated key path", NoSink{});
  const std::string_view path = line.substr(open, pos - 1 - open);
  pos = skipBlanks(line, pos);
  std::uint64_t ticks = 0;
  if (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
    std::uint64_t seconds = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
      seconds = seconds * 10 + static_cast<std::uint64_t>(line[pos] - '0');
      if (seconds > 0xffffffffu)
        syntaxError("bad time after the key path");
    }
    ticks = seconds * TicksPerSecond + UnixEpochTicks;
  } else {
    ticks = currentFileTime();
  }
  expectLineEnd(line, pos, "unexpected text after the key path");
  startBlock(keyForPath(path, ticks), blockStart);
  Current->ModifiedTicks = ticks;
}

// Finds or creates the key at `path` (as written in the file). Consecutive
// key lines mostly repeat the previous line's path: the components spelled
// the same are taken from the previous walk without decoding them again.
Key &HiveReader::keyForPath(std::string_view path, std::uint64_t ticks) {
  const std::size_t common = commonStart(path, PreviousPath);
  std::size_t depth = 0;
  while (depth < Stack.size() && RawEnds[depth] <= common &&
         isComponentEnd(path, RawEnds[depth]))
    ++depth;
  Stack.resize(depth);
  RawEnds.resize(depth);

  Key *key = depth ? Stack.back() : H.Root.get();
  std::size_t pos = depth ? RawEnds.back() : 0;
  while (pos < path.size()) {
    if (path.substr(pos, 2) == "\\\\") {
      pos += 2;
      continue;
    }
    const std::size_t end = rawComponentEnd(path, pos);
    PathScratch.clear();
    decodeUntil(path.substr(0, end), pos, ']', NameSink{PathScratch});
    const std::size_t before = Stack.size();
    key = &descend(*key, PathScratch, ticks);
    if (Stack.size() > before) // not a component that decoded to nothing
      RawEnds.back() = end;
    pos = end;
  }
  PreviousPath.assign(path);
  return *key;
}

// Walks down from `key` along `names`: one component, or several when a
// backslash was written another way ("\x5c"), which Wine splits on too.
Key &HiveReader::descend(Key &key, std::u16string_view names,
                         std::uint64_t ticks) {
  Key *current = &key;
  std::size_t begin = 0;
  while (begin <= names.size()) {
    std::size_t end = names.find(u'\\', begin);
    if (end == std::u16string_view::npos)
      end = names.size();
    if (end > begin) {
      if (Stack.size() == MaxKeyDepth)
        syntaxError("key path too deep");
      current =
          &childForLoad(*current, names.substr(begin, end - begin), ticks);
      Stack.push_back(current);
      RawEnds.push_back(std::string_view::npos);
    }
    begin = end + 1;
  }
  return *current;
}

// Wine writes sub-keys in name order, so a new name usually sorts after the
// last child and is simply appended.
Key &HiveReader::childForLoad(Key &parent, std::u16string_view name,
                              std::uint64_t ticks) {
  if (!parent.Children.empty()) {
    Key &last = *parent.Children.back();
    const bool afterLast = !parent.Index && compareNames(last.Name, name) < 0;
    if (!afterLast) {
      if (Key *existing = parent.findChildByName(name))
        return *existing;
    }
  }
  return parent.appendChild(name, ticks);
}

void HiveReader::startBlock(Key &key, std::size_t start) {
  // A key named again by a later block (hand-edited file): its values are
  // gathered in memory and the key is written anew at the next save.
  const bool seenBefore = key.SourceLength > 0 || key.Dirty;
  if (seenBefore && !key.Dirty) {
    key.parseValuesIfNeeded();
    key.Dirty = true;
    Merged.push_back(&key);
  }
  key.SourceOffset = static_cast<std::uint32_t>(start);
  key.SourceLength = 0;
  Current = &key;
  CurrentHasValues = false;
}

void HiveReader::endBlock(std::size_t end) {
  if (!Current) {
    H.HeaderLength = end;
    return;
  }
  Key &key = *Current;
  key.SourceLength = static_cast<std::uint32_t>(end - key.SourceOffset);
  if (!key.Dirty) {
    key.ValuesParsed = !CurrentHasValues;
  } else {
    if (CurrentHasValues) {
      ParsedValues more = readValues(H, key);
      for (Value &value : more.Values)
        key.Values.push_back(std::move(value));
    }
    key.SourceLength = 0;
  }
  Current = nullptr;
}

void HiveReader::readOption(std::string_view line) {
  Key &key = *Current;
  if (startsWith(line, 0, "#time=")) {
    std::size_t pos = 6;
    std::uint64_t ticks = 0;
    if (!readHexNumber(line, pos, 16, ticks))
      syntaxError("bad #time line");
    expectLineEnd(line, pos, "bad #time line");
    key.ModifiedTicks = ticks;
  } else if (startsWith(line, 0, "#class=")) {
    if (!startsWith(line, 7, "\""))
      syntaxError("bad #class line");
    std::u16string className;
    const std::size_t pos =
        decodeInto(className, line, 8, '"', "unterminated class name");
    expectLineEnd(line, pos, "bad #class line");
    key.ClassName = std::make_unique<const std::optional<std::u16string>>(
        std::move(className));
  } else if (startsWith(line, 0, "#link") && restIsBlank(line, 5)) {
    key.Link = true;
  }
  // Other options are Wine's to know; they are kept in the block's text.
}

void HiveReader::finishMergedKeys() {
  for (Key *key : Merged)
    key->ValuesSorted = removeDuplicates(key->Values);
}

HiveReader::ParsedValues HiveReader::readValues(const Hive &hive,
                                                const Key &key) {
  // The load checked these lines already, so this fails only if that check
  // missed something; the line is counted in the text the block is in (the
  // loaded file, unless a save wrote the block).
  const std::string &text = key.BlockRewritten ? hive.Rewritten : hive.Source;
  LineCursor cursor(text, key.SourceOffset, key.SourceOffset + key.SourceLength,
                    0);
  ParsedValues result;
  Value scratch;
  try {
    for (; !cursor.atEnd(); cursor.next()) {
      if (!isValueLine(cursor.line()))
        continue;
      parseValue<true>(cursor, scratch);
      result.Values.push_back(scratch); // a copy holds just what it needs
    }
  } catch (const SyntaxError &error) {
    throw RegistryError(
        errorText(hive.SourceName, lineAt(text, cursor.offset()), error.What));
  }
  result.Sorted = removeDuplicates(result.Values);
  return result;
}

bool HiveReader::removeDuplicates(std::vector<Value> &values) {
  if (inNameOrder(values))
    return true;
  // Sorting positions by name brings repeated names together, first
  // occurrence first, without going quadratic on a long unsorted key.
  std::vector<std::size_t> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) {
                     return compareNames(values[a].name, values[b].name) < 0;
                   });
  std::vector<bool> drop(values.size(), false);
  for (std::size_t run = 0; run < order.size();) {
    std::size_t next = run + 1;
    while (next < order.size() &&
           compareNames(values[order[run]].name, values[order[next]].name) == 0)
      drop[order[next++]] = true;
    if (next - run > 1) {
      Value &kept = values[order[run]];
      Value &last = values[order[next - 1]];
      kept.type = last.type;
      kept.data = std::move(last.data);
    }
    run = next;
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (drop[i])
      continue;
    if (out != i)
      values[out] = std::move(values[i]);
    ++out;
  }
  values.resize(out);
  return inNameOrder(values);
}

} // namespace reg
