#include "registry/reg_command.h"

#include "registry/errors.h"
#include "registry/machine.h"
#include "registry/text.h"
#include "registry/value.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace reg {

namespace {

// Wine's reg writes CRLF line ends, also on Linux.
constexpr const char *Eol = "\r\n";

// A failure with its exit code and the line for stderr.
struct Failure {
  int ExitCode;
  std::string Message;
};

Failure badArguments(const std::string &message) {
  return {2, "reg: " + message + " Type \"tweakforge-reg --help\" for help."};
}

Failure notFound(const char *what) {
  return {1, std::string("reg: Unable to find the specified registry ") + what};
}

std::string lowerCase(std::string_view text) {
  std::string result(text);
  for (char &c : result)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

// A KEY argument: where the key lies and how Wine prints its name.
struct KeyArgument {
  HiveId Hive;
  KeyPath Path;
  std::string Display; // "HKEY_CURRENT_USER\Software\TFTest"
  bool IsRoot;
};

struct RootName {
  const char *Short;
  const char *Long;
  HiveId Hive;
  bool Classes;
};

constexpr RootName RootNames[] = {
    {"hklm", "HKEY_LOCAL_MACHINE", HiveId::LocalMachine, false},
    {"hkcu", "HKEY_CURRENT_USER", HiveId::CurrentUser, false},
    {"hkcr", "HKEY_CLASSES_ROOT", HiveId::LocalMachine, true},
};

KeyArgument parseKey(const std::string &text) {
  std::size_t separator = text.find('\\');
  std::string root = lowerCase(text.substr(0, separator));
  std::string rest =
      separator == std::string::npos ? "" : text.substr(separator + 1);
  while (!rest.empty() && rest.back() == '\\')
    rest.pop_back();
  for (const RootName &name : RootNames) {
    if (root != name.Short && root != lowerCase(name.Long))
      continue;
    KeyArgument key{name.Hive, {}, name.Long, rest.empty()};
    if (name.Classes)
      key.Path = {u"Software", u"Classes"};
    for (std::size_t start = 0; !rest.empty();) {
      std::size_t end = rest.find('\\', start);
      std::string component = rest.substr(start, end - start);
      if (component.empty())
        throw badArguments("Invalid key name.");
      key.Path.push_back(toUtf16(component));
      if (end == std::string::npos)
        break;
      start = end + 1;
    }
    if (!rest.empty())
      key.Display += "\\" + rest;
    return key;
  }
  throw badArguments("Invalid key name.");
}

struct Options {
  std::optional<std::string> ValueName; // /v
  bool DefaultValue = false;            // /ve
  bool AllValues = false;               // /va
  bool Recurse = false;                 // /s
  bool Force = false;                   // /f
  std::optional<std::string> Type;      // /t
  std::optional<std::string> Data;      // /d

  bool namesValue() const { return ValueName || DefaultValue; }
};

// Parses the options after KEY; `allowed` lists the command's options.
Options parseOptions(const std::vector<std::string> &args,
                     const std::set<std::string> &allowed) {
  Options options;
  std::set<std::string> seen;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string &arg = args[i];
    std::string option = arg.empty() ? "" : lowerCase(arg.substr(1));
    if (arg.empty() || (arg[0] != '/' && arg[0] != '-') ||
        !allowed.count(option))
      throw badArguments("Invalid option [" + arg + "].");
    if (!seen.insert(option).second)
      throw badArguments("Option [" + arg + "] given twice.");
    bool takesArgument = option == "v" || option == "t" || option == "d";
    if (takesArgument && i + 1 == args.size())
      throw badArguments("Option [" + arg + "] needs an argument.");
    if (option == "v")
      options.ValueName = args[++i];
    else if (option == "t")
      options.Type = args[++i];
    else if (option == "d")
      options.Data = args[++i];
    else
      (option == "ve"   ? options.DefaultValue
       : option == "va" ? options.AllValues
       : option == "s"  ? options.Recurse
                        : options.Force) = true;
  }
  if (int(bool(options.ValueName)) + options.DefaultValue + options.AllValues >
      1)
    throw badArguments("Give only one of /v, /ve and /va.");
  return options;
}

// --- Printing values as `wine reg query` does.

const std::map<std::uint32_t, std::string> &typeNames() {
  static const std::map<std::uint32_t, std::string> names = {
      {REG_NONE, "REG_NONE"},
      {REG_SZ, "REG_SZ"},
      {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
      {REG_BINARY, "REG_BINARY"},
      {REG_DWORD, "REG_DWORD"},
      {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
      {REG_LINK, "REG_LINK"},
      {REG_MULTI_SZ, "REG_MULTI_SZ"},
      {REG_QWORD, "REG_QWORD"},
  };
  return names;
}

std::string typeName(std::uint32_t type) {
  auto found = typeNames().find(type);
  if (found != typeNames().end())
    return found->second;
  char number[16];
  std::snprintf(number, sizeof number, "0x%x", type);
  return number;
}

std::uint64_t littleEndian(const std::vector<std::uint8_t> &data,
                           std::size_t size) {
  std::uint64_t result = 0;
  for (std::size_t i = 0; i < size && i < data.size(); ++i)
    result |= std::uint64_t(data[i]) << (8 * i);
  return result;
}

std::string hexNumber(std::uint64_t number) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(number));
  return text;
}

std::string hexBytes(const std::vector<std::uint8_t> &data) {
  std::string text;
  char pair[3];
  for (std::uint8_t byte : data) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    text += pair;
  }
  return text;
}

// The parts of a REG_MULTI_SZ joined by "\0", without the final zeros.
std::string multiStringText(const std::vector<std::uint8_t> &data) {
  if (data.size() <= 4)
    return "";
  std::u16string units;
  for (std::size_t i = 0; i + 1 < data.size() - 4; i += 2)
    units += char16_t(data[i] | data[i + 1] << 8);
  std::string text;
  for (std::size_t start = 0;;) {
    std::size_t zero = units.find(u'\0', start);
    text += toUtf8(std::u16string_view(units).substr(start, zero - start));
    if (zero == std::u16string::npos)
      return text;
    text += "\\0";
    start = zero + 1;
  }
}

std::string dataText(const Value &value) {
  switch (value.type) {
  case REG_SZ:
  case REG_EXPAND_SZ:
    return toUtf8(stringFromData(value.data));
  case REG_DWORD:
  case REG_DWORD_BIG_ENDIAN:
    return hexNumber(littleEndian(value.data, 4));
  case REG_QWORD:
    return hexNumber(littleEndian(value.data, 8));
  case REG_MULTI_SZ:
    return multiStringText(value.data);
  default:
    return hexBytes(value.data);
  }
}

void printValueLine(std::ostream &out, const std::string &name,
                    const std::string &type, const std::string &data) {
  out << "    " << (name.empty() ? "(Default)" : name) << "    " << type
      << "    " << data << Eol;
}

void printValue(std::ostream &out, const std::string &name,
                const Value &value) {
  printValueLine(out, name, typeName(value.type), dataText(value));
}

std::string childPath(const std::string &path, const Key &child) {
  return path + "\\" + toUtf8(child.name());
}

void queryAll(Key &key, const std::string &path, bool recurse, bool recursing,
              std::ostream &out) {
  const std::vector<Value> &values = key.values();
  bool header = !values.empty() || recursing;
  if (header)
    out << path << Eol;
  for (const Value &value : values)
    printValue(out, toUtf8(value.name), value);
  if (header)
    out << Eol;
  for (std::size_t i = 0; i < key.childCount(); ++i) {
    Key &child = key.childAt(i);
    if (recurse)
      queryAll(child, childPath(path, child), true, true, out);
    else
      out << childPath(path, child) << Eol;
  }
}

void queryValue(Key &key, const std::string &name, const std::string &path,
                bool recurse, int &found, std::ostream &out) {
  const Value *value = key.findValue(toUtf16(name));
  if (value) {
    out << path << Eol;
    printValue(out, name, *value);
    out << Eol;
    ++found;
  }
  if (!recurse) {
    if (value)
      return;
    if (!name.empty())
      throw notFound("value");
    out << path << Eol;
    printValueLine(out, name, "REG_SZ", "(value not set)");
    return;
  }
  for (std::size_t i = 0; i < key.childCount(); ++i) {
    Key &child = key.childAt(i);
    queryValue(child, name, childPath(path, child), true, found, out);
  }
}

int runQuery(const KeyArgument &key, const Options &options,
             std::ostream &out) {
  Key *found = Machine::current()->findKey(key.Hive, key.Path);
  if (!found)
    throw notFound("key");
  out << Eol;
  if (!options.namesValue()) {
    queryAll(*found, key.Display, options.Recurse, false, out);
    return 0;
  }
  int matches = 0;
  queryValue(*found, options.ValueName.value_or(""), key.Display,
             options.Recurse, matches, out);
  if (options.Recurse)
    out << "End of search: " << matches << " match(es) found." << Eol;
  return 0;
}

// --- Data given to `add`.

Failure invalidData(const char *what) {
  return badArguments(std::string("The option [/d] must be followed by a "
                                  "valid ") +
                      what + ".");
}

std::uint64_t parseNumber(const std::string &text, std::uint64_t max) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] | 0x20) == 'x';
  const char *first = text.data() + (hex ? 2 : 0);
  const char *last = text.data() + text.size();
  std::uint64_t number = 0;
  auto [end, error] = std::from_chars(first, last, number, hex ? 16 : 10);
  if (text.empty() || error != std::errc() || end != last || number > max)
    throw invalidData("integer");
  return number;
}

std::vector<std::uint8_t> numberData(std::uint64_t number, std::size_t size) {
  std::vector<std::uint8_t> data;
  for (std::size_t i = 0; i < size; ++i)
    data.push_back(std::uint8_t(number >> (8 * i)));
  return data;
}

std::vector<std::uint8_t> hexData(std::string digits) {
  if (digits.size() % 2)
    digits.insert(digits.begin(), '0');
  std::vector<std::uint8_t> data;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    unsigned byte = 0;
    auto [end, error] =
        std::from_chars(digits.data() + i, digits.data() + i + 2, byte, 16);
    if (error != std::errc() || end != digits.data() + i + 2)
      throw invalidData("hexadecimal value");
    data.push_back(std::uint8_t(byte));
  }
  return data;
}

// "a\0b" -> the UTF-16 strings "a" and "b", each with its zero, and a final
// zero that ends the list.
std::vector<std::uint8_t> multiStringData(const std::string &text) {
  std::u16string units;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\\0", start);
    units += toUtf16(text.substr(start, end - start));
    units += u'\0';
    if (end == std::string::npos)
      break;
    start = end + 2;
  }
  return stringData(units);
}

struct TypedData {
  std::uint32_t Type;
  std::vector<std::uint8_t> Data;
};

TypedData addData(const Options &options) {
  std::string type = options.Type.value_or("REG_SZ");
  std::string data = options.Data.value_or("");
  for (const auto &[number, name] : typeNames()) {
    if (lowerCase(type) != lowerCase(name))
      continue;
    switch (number) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return {number, stringData(toUtf16(data))};
    case REG_MULTI_SZ:
      return {number, multiStringData(data)};
    case REG_DWORD:
      return {number,
              numberData(options.Data ? parseNumber(data, 0xffffffff) : 0, 4)};
    case REG_QWORD:
      return {number,
              numberData(options.Data ? parseNumber(data, ~0ull) : 0, 8)};
    case REG_BINARY:
    case REG_NONE:
      return {number, hexData(data)};
    }
  }
  throw badArguments("Unsupported registry data type [" + type + "].");
}

int runAdd(const KeyArgument &key, const Options &options, std::ostream &out) {
  bool writesValue = options.namesValue() || options.Type || options.Data;
  TypedData value = writesValue ? addData(options) : TypedData{};
  std::shared_ptr<Machine> machine = Machine::current();
  machine->createKey(key.Hive, key.Path);
  if (writesValue)
    machine->setValue(key.Hive, key.Path,
                      toUtf16(options.ValueName.value_or("")), value.Type,
                      std::move(value.Data));
  machine->flush();
  out << "The operation completed successfully." << Eol;
  return 0;
}

int runDelete(const KeyArgument &key, const Options &options,
              std::ostream &out) {
  if (key.IsRoot && !options.namesValue() && !options.AllValues)
    throw badArguments("A root key cannot be deleted.");
  std::shared_ptr<Machine> machine = Machine::current();
  Key *found = machine->findKey(key.Hive, key.Path);
  if (!found)
    throw notFound("key");
  if (options.namesValue()) {
    if (!machine->deleteValue(key.Hive, key.Path,
                              toUtf16(options.ValueName.value_or(""))))
      throw notFound("value");
  } else if (options.AllValues) {
    std::vector<std::u16string> names;
    for (const Value &value : found->values())
      names.push_back(value.name);
    for (const std::u16string &name : names)
      machine->deleteValue(key.Hive, key.Path, name);
  } else {
    machine->deleteKey(key.Hive, key.Path);
  }
  machine->flush();
  out << "The operation completed successfully." << Eol;
  return 0;
}

bool isHelp(const std::string &arg) {
  return arg == "/?" || arg == "-?" || arg == "-h" || arg == "--help";
}

int dispatch(const std::vector<std::string> &args, std::ostream &out) {
  if (args.empty())
    throw badArguments("No operation given.");
  if (isHelp(args[0]) || (args.size() == 2 && isHelp(args[1]))) {
    out << regCommandUsage();
    return 0;
  }
  std::string operation = lowerCase(args[0]);
  if (operation != "query" && operation != "add" && operation != "delete")
    throw badArguments("Invalid operation [" + args[0] + "].");
  if (args.size() < 2)
    throw badArguments("No key given.");
  KeyArgument key = parseKey(args[1]);
  if (operation == "query")
    return runQuery(key, parseOptions(args, {"v", "ve", "s"}), out);
  if (operation == "add")
    return runAdd(key, parseOptions(args, {"v", "ve", "t", "d", "f"}), out);
  return runDelete(key, parseOptions(args, {"v", "ve", "va", "f"}), out);
}

} // namespace

std::string regCommandUsage() {
  return R"(Usage:
  tweakforge-reg query  KEY [/v NAME | /ve] [/s]
  tweakforge-reg add    KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]
  tweakforge-reg delete KEY [/v NAME | /ve | /va] [/f]

Reads and changes the registry of a Wine-style prefix, as Wine's `reg` does:
$WINEPREFIX when set, else ~/.wine when it holds a system.reg, else
Tweakforge's own machine ($XDG_DATA_HOME/tweakforge/machine).

KEY       starts with HKLM, HKCU or HKCR (or HKEY_LOCAL_MACHINE,
          HKEY_CURRENT_USER, HKEY_CLASSES_ROOT); HKCR is HKLM\Software\Classes
/v NAME   the value NAME
/ve       the key's default value
/va       every value of the key (delete)
/s        the sub-keys too (query)
/t TYPE   REG_SZ (the default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD,
          REG_QWORD, REG_BINARY or REG_NONE
/d DATA   text; for REG_MULTI_SZ parts separated by \0; for REG_DWORD and
          REG_QWORD a decimal or 0x-hexadecimal number; for REG_BINARY and
          REG_NONE hexadecimal digits
/f        accepted for compatibility: add and delete never ask for
          confirmation here, they act at once

delete without /v, /ve or /va deletes the key with all its sub-keys.
Nothing is written while Wine runs for the prefix.

Exit status: 0 done; 1 key or value not found, or the write refused;
2 bad arguments.
)";
}

int runRegCommand(const std::vector<std::string> &args, std::ostream &out,
                  std::ostream &err) {
  try {
    return dispatch(args, out);
  } catch (const Failure &failure) {
    err << failure.Message << '\n';
    return failure.ExitCode;
  } catch (const RegistryError &error) {
    err << "reg: " << error.what() << '\n';
    return 1;
  }
}

} // namespace reg
