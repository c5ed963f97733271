// Internal to the registry layer: the reader and writer of Wine's text hive
// format and what they share with the in-memory model.
#pragma once

#include "registry/hive.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace reg {

inline constexpr std::uint64_t TicksPerSecond = 10'000'000;
// FILETIME of 1970-01-01 00:00:00 UTC.
inline constexpr std::uint64_t UnixEpochTicks = 116'444'736'000'000'000;
// Windows refuses key paths deeper than this; the limit also bounds the
// recursion over the tree.
inline constexpr std::size_t MaxKeyDepth = 512;

inline constexpr std::string_view Magic = "WINE REGISTRY Version 2";
// Key blocks are placed with 32-bit offsets.
inline constexpr std::size_t MaxHiveText = 0xffffffffu;

// The present as a Windows FILETIME.
inline std::uint64_t currentFileTime() {
  const auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return UnixEpochTicks + static_cast<std::uint64_t>(since1970.count()) / 100;
}

// Walks a range of the text line by line; a line excludes its '\n'. Keeps the
// line number for error messages.
class LineCursor {
public:
  LineCursor(std::string_view text, std::size_t begin, std::size_t end,
             std::size_t lineNumber)
      : Text(text.data()), Cur(Text + begin), Limit(Text + end),
        Number(lineNumber) {
    findEol();
  }

  bool atEnd() const { return Cur == Limit; }
  bool isLastLine() const { return Eol == Limit || Eol + 1 == Limit; }
  std::string_view line() const {
    return {Cur, static_cast<std::size_t>(Eol - Cur)};
  }
  std::size_t offset() const { return static_cast<std::size_t>(Cur - Text); }
  std::size_t lineNumber() const { return Number; }
  void next() {
    Cur = Eol == Limit ? Limit : Eol + 1;
    ++Number;
    findEol();
  }

private:
  void findEol() {
    const void *nl =
        std::memchr(Cur, '\n', static_cast<std::size_t>(Limit - Cur));
    Eol = nl ? static_cast<const char *>(nl) : Limit;
  }

  const char *Text;
  const char *Cur;
  const char *Limit;
  const char *Eol = nullptr;
  std::size_t Number;
};

// Reads the text format. Validates the whole file at load but leaves the
// values in the text; a key's values are parsed when first touched.
class HiveReader {
public:
  // The hive in `text`. Throws RegistryError "<name>:<line>: <problem>"
  // for text that is not a hive.
  static std::unique_ptr<Hive> parse(std::string text, std::string name);

  struct ParsedValues {
    std::vector<Value> Values;
    bool Sorted = true;
  };
  // The values of key's block in hive.Source.
  static ParsedValues readValues(const Hive &hive, const Key &key);
  // Keeps one value per name (case-insensitively), at the place of the first
  // with the data of the last, as Wine does with repeated lines. Returns
  // whether the values are in name order.
  static bool removeDuplicates(std::vector<Value> &values);

private:
  explicit HiveReader(Hive &hive);
  void read();
  void readHeader();
  void readKeys();
  void readLine(std::string_view line);
  void readKeyLine(std::string_view line);
  Key &keyForPath(std::string_view path, std::uint64_t ticks);
  Key &descend(Key &key, std::u16string_view names, std::uint64_t ticks);
  Key &childForLoad(Key &parent, std::u16string_view name, std::uint64_t ticks);
  void startBlock(Key &key, std::size_t start);
  void endBlock(std::size_t end);
  void readOption(std::string_view line);
  void finishMergedKeys();
  [[noreturn]] void fail(const char *what) const;

  Hive &H;
  LineCursor Cursor;
  Key *Current = nullptr; // the key whose block is being read
  bool CurrentHasValues = false;
  std::vector<Key *> Stack; // the keys along the last key line's path
  // Where each of them ends in that line's path text; npos when not known.
  std::vector<std::size_t> RawEnds;
  std::string PreviousPath;
  std::vector<Key *> Merged; // keys that appeared in more than one block
  // Reused from line to line so that the load allocates little.
  std::u16string PathScratch;
  Value ValueScratch;
  bool PreviousLineEmpty = false;
  std::size_t PreviousLineStart = 0;
};

// Writes the text format: keys that have not changed since load or save come
// back byte for byte from the source text, the others as Wine writes them.
class HiveWriter {
public:
  using Output = std::function<void(std::string_view)>;

  explicit HiveWriter(const Hive &hive) : H(hive) {}
  // True when the hive is its loaded file, unchanged: then that text is
  // written back as it is, even where Wine would order keys differently.
  static bool isUnchanged(const Hive &hive);
  static const std::string &source(const Hive &hive) { return hive.Source; }

  // Writes the hive's text to `out` piece by piece and returns its size.
  // For a save, keeps the blocks it formats, for adopt().
  std::size_t write(const Output &out, bool forSave);
  // False when the blocks kept after this write would pass 4 GiB.
  bool canAdopt() const;
  // Once what write() produced is saved: the blocks it formatted are kept
  // for later saves and every key is clean.
  void adopt(Hive &hive);

private:
  // A block formatted by write(), at Offset in NewBlocks.
  struct Formatted {
    Key *K;
    std::size_t Offset;
    std::size_t Length;
  };

  // The tree is walked through non-const keys so that a save can note
  // where their blocks went; write() itself changes nothing.
  void writeKey(Key &key);
  void copyBlock(Key &key);
  void writeNewBlock(Key &key);
  void emit(std::string_view text);
  void formatBlock(const Key &key);
  void formatValue(const Value &value);
  void appendHexBytes(const std::vector<std::uint8_t> &data,
                      std::size_t column);
  void keepRewrittenBlocks(Hive &hive);

  const Hive &H;
  const Output *Out = nullptr;
  std::size_t Written = 0;
  bool ForSave = false;
  char Last = '\n';
  std::string Path;  // the escaped path of the key being written
  std::string Block; // the block being formatted
  std::string NewBlocks;
  std::vector<Formatted> Placed;
  // Clean keys whose block is among the hive's Rewritten blocks, and how
  // many bytes those take: the rest of Rewritten is no longer used.
  std::vector<Key *> KeptRewritten;
  std::size_t KeptBytes = 0;
  std::size_t KeptFromSource = 0; // blocks copied from the loaded text
};

} // namespace reg
