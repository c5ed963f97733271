#include "registry/errors.h"
#include "registry/hive_format.h"
#include "registry/text.h"
#include "registry/utf8.h"

#include <algorithm>
#include <numeric>

namespace reg {

namespace {

// A problem on the cursor's current line; the reader adds file and line.
struct SyntaxError {
  const char *What;
};

[[noreturn]] void syntaxError(const char *what) { throw SyntaxError{what}; }

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

int hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// Reads 1..maxDigits hex digits at pos; nullopt-like failure as false.
bool readHexNumber(std::string_view s, std::size_t &pos, std::size_t maxDigits,
                   std::uint64_t &value) {
  const std::size_t start = pos;
  value = 0;
  while (pos < s.size() && pos - start < maxDigits && hexDigit(s[pos]) >= 0)
    value = value * 16 + static_cast<std::uint64_t>(hexDigit(s[pos++]));
  return pos > start && (pos == s.size() || hexDigit(s[pos]) < 0);
}

// Decodes escaped text from `pos` up to the unescaped `endChar`, as Wine's
// reader does: C escapes, \xN..NNNN (up to four hex digits), octal \N..NNN,
// any other escaped character stands for itself; raw UTF-8 is decoded and
// invalid bytes are skipped. Returns the position after `endChar`.
template <typename Emit>
std::size_t decodeEscaped(std::string_view s, std::size_t pos, char endChar,
                          const char *unterminated, Emit emit) {
  const char *end = s.data() + s.size();
  while (pos < s.size()) {
    char c = s[pos];
    if (c == endChar)
      return pos + 1;
    if (c == '\\') {
      if (++pos == s.size())
        break;
      c = s[pos];
      switch (c) {
      case 'a':
        emit(u'\a');
        ++pos;
        continue;
      case 'b':
        emit(u'\b');
        ++pos;
        continue;
      case 'e':
        emit(char16_t(27));
        ++pos;
        continue;
      case 'f':
        emit(u'\f');
        ++pos;
        continue;
      case 'n':
        emit(u'\n');
        ++pos;
        continue;
      case 'r':
        emit(u'\r');
        ++pos;
        continue;
      case 't':
        emit(u'\t');
        ++pos;
        continue;
      case 'v':
        emit(u'\v');
        ++pos;
        continue;
      case 'x': {
        ++pos;
        unsigned unit = 0;
        std::size_t digits = 0;
        while (digits < 4 && pos < s.size() && hexDigit(s[pos]) >= 0) {
          unit = unit * 16 + static_cast<unsigned>(hexDigit(s[pos++]));
          ++digits;
        }
        emit(digits ? static_cast<char16_t>(unit) : u'x');
        continue;
      }
      default:
        if (isOctal(c)) {
          unsigned unit = 0;
          for (std::size_t digits = 0;
               digits < 3 && pos < s.size() && isOctal(s[pos]); ++digits)
            unit = unit * 8 + static_cast<unsigned>(s[pos++] - '0');
          emit(static_cast<char16_t>(unit));
          continue;
        }
        break; // the escaped character stands for itself
      }
    }
    if (c == '\0')
      syntaxError("NUL byte in text");
    if (static_cast<unsigned char>(c) < 0x80) {
      emit(static_cast<char16_t>(c));
      ++pos;
      continue;
    }
    const char *p = s.data() + pos;
    const char32_t cp = utf8::decode(p, end);
    pos = static_cast<std::size_t>(p - s.data());
    if (cp == utf8::Invalid)
      continue;
    if (cp < 0x10000) {
      emit(static_cast<char16_t>(cp));
    } else {
      emit(static_cast<char16_t>(0xd800 | ((cp - 0x10000) >> 10)));
      emit(static_cast<char16_t>(0xdc00 | ((cp - 0x10000) & 0x3ff)));
    }
  }
  syntaxError(unterminated);
}

std::size_t decodeInto(std::u16string &out, std::string_view s, std::size_t pos,
                       char endChar, const char *unterminated) {
  return decodeEscaped(s, pos, endChar, unterminated,
                       [&](char16_t unit) { out.push_back(unit); });
}

void expectLineEnd(std::string_view s, std::size_t pos, const char *what) {
  if (!restIsBlank(s, pos))
    syntaxError(what);
}

// String data: UTF-16LE with the terminating zero.
void parseStringData(std::string_view line, std::size_t pos,
                     std::vector<std::uint8_t> &data) {
  pos = decodeEscaped(line, pos, '"', "unterminated string", [&](char16_t u) {
    data.push_back(static_cast<std::uint8_t>(u & 0xff));
    data.push_back(static_cast<std::uint8_t>(u >> 8));
  });
  data.push_back(0);
  data.push_back(0);
  expectLineEnd(line, pos, "unexpected text after the value");
}

void parseDwordData(std::string_view line, std::size_t pos,
                    std::vector<std::uint8_t> &data) {
  std::uint64_t value = 0;
  if (!readHexNumber(line, pos, 8, value))
    syntaxError("bad dword value");
  expectLineEnd(line, pos, "unexpected text after the value");
  for (int i = 0; i < 4; ++i)
    data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Bytes as hex pairs separated by commas; a '\' at the end of a line
// continues the list on the next line.
void parseHexData(LineCursor &cursor, std::size_t pos,
                  std::vector<std::uint8_t> &data) {
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
      data.push_back(static_cast<std::uint8_t>(byte));
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

// The type prefix of the data ("dword:", "hex(b):"...): sets value.type and
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
// `out`, reusing its buffers; the cursor ends on the value's last line.
void parseValue(LineCursor &cursor, Value &out) {
  const std::string_view line = cursor.line();
  std::size_t pos = skipBlanks(line, 0);
  out.name.clear();
  out.data.clear();
  if (line[pos] == '@')
    ++pos;
  else
    pos = decodeInto(out.name, line, pos + 1, '"', "unterminated value name");
  pos = skipBlanks(line, pos);
  if (pos == line.size() || line[pos] != '=')
    syntaxError("missing '=' after the value name");
  pos = skipBlanks(line, pos + 1);
  switch (parseDataType(line, pos, out.type)) {
  case DataForm::String:
    parseStringData(line, pos, out.data);
    break;
  case DataForm::Dword:
    parseDwordData(line, pos, out.data);
    break;
  case DataForm::Hex:
    parseHexData(cursor, pos, out.data);
    break;
  }
}

bool isValueLine(std::string_view line) {
  const std::size_t pos = skipBlanks(line, 0);
  return pos < line.size() && (line[pos] == '@' || line[pos] == '"');
}

std::string errorText(const std::string &name, std::size_t line,
                      const char *what);

} // namespace

HiveReader::HiveReader(Hive &hive)
    : H(hive), Cursor(hive.Source, 0, hive.Source.size(), 1) {}

std::unique_ptr<Hive> HiveReader::parse(std::string text, std::string name) {
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
    parseValue(Cursor, ValueScratch);
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
  const std::size_t blockLine =
      Cursor.lineNumber() - (PreviousLineEmpty ? 1 : 0);
  endBlock(blockStart);

  PathScratch.clear();
  std::size_t pos = skipBlanks(line, 0) + 1;
  pos = decodeInto(PathScratch, line, pos, ']', "unterminated key path");
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
  startBlock(keyForPath(ticks), blockStart, blockLine);
  Current->ModifiedTicks = ticks;
}

// Finds or creates the key named by PathScratch. Consecutive key lines
// usually share most of their path, so the walk starts from the previous
// key's ancestors.
Key &HiveReader::keyForPath(std::uint64_t ticks) {
  Components.clear();
  const std::u16string_view path = PathScratch;
  std::size_t begin = 0;
  while (begin <= path.size()) {
    std::size_t end = path.find(u'\\', begin);
    if (end == std::u16string_view::npos)
      end = path.size();
    if (end > begin)
      Components.push_back(path.substr(begin, end - begin));
    begin = end + 1;
  }
  if (Components.size() > MaxKeyDepth)
    syntaxError("key path too deep");

  std::size_t depth = 0;
  while (depth < Stack.size() && depth < Components.size() &&
         (Stack[depth]->Name == Components[depth] ||
          namesEqual(Stack[depth]->Name, Components[depth])))
    ++depth;
  Stack.resize(depth);
  Key *key = depth ? Stack.back() : H.Root.get();
  for (; depth < Components.size(); ++depth) {
    key = &childForLoad(*key, Components[depth], ticks);
    Stack.push_back(key);
  }
  return *key;
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

void HiveReader::startBlock(Key &key, std::size_t start, std::size_t line) {
  // A key named again by a later block (hand-edited file): its values are
  // gathered in memory and the key is written anew at the next save.
  const bool seenBefore = key.SourceLength > 0 || key.Dirty;
  if (seenBefore && !key.Dirty) {
    key.parseValuesIfNeeded();
    key.Dirty = true;
    Merged.push_back(&key);
  }
  key.SourceOffset = start;
  key.SourceLength = 0;
  key.SourceLine = line;
  Current = &key;
  CurrentHasValues = false;
}

void HiveReader::endBlock(std::size_t end) {
  if (!Current) {
    H.HeaderLength = end;
    return;
  }
  Key &key = *Current;
  key.SourceLength = end - key.SourceOffset;
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
    key.ClassName = std::move(className);
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
  LineCursor cursor(hive.Source, key.SourceOffset,
                    key.SourceOffset + key.SourceLength, key.SourceLine);
  ParsedValues result;
  Value scratch;
  try {
    for (; !cursor.atEnd(); cursor.next()) {
      if (!isValueLine(cursor.line()))
        continue;
      parseValue(cursor, scratch);
      result.Values.push_back(scratch); // a copy holds just what it needs
    }
  } catch (const SyntaxError &error) {
    throw RegistryError(
        errorText(hive.SourceName, cursor.lineNumber(), error.What));
  }
  result.Sorted = removeDuplicates(result.Values);
  return result;
}

namespace {

std::string errorText(const std::string &name, std::size_t line,
                      const char *what) {
  return name + ":" + std::to_string(line) + ": " + what;
}

bool inNameOrder(const std::vector<Value> &values) {
  for (std::size_t i = 1; i < values.size(); ++i)
    if (compareNames(values[i - 1].name, values[i].name) >= 0)
      return false;
  return true;
}

} // namespace

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
