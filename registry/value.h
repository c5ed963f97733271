// Registry value types and the value record shared by the whole registry layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace reg {

// Type numbers as Windows and Wine store them.
enum ValueType : std::uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_EXPAND_SZ = 2,
  REG_BINARY = 3,
  REG_DWORD = 4,
  REG_DWORD_BIG_ENDIAN = 5,
  REG_LINK = 6,
  REG_MULTI_SZ = 7,
  REG_QWORD = 11,
};

// One named value: its type number and raw bytes, kept whatever the type.
// Strings are UTF-16LE with their terminating zero, as on Windows.
// The empty name is the key's default value.
struct Value {
  std::u16string name;
  std::uint32_t type = REG_NONE;
  std::vector<std::uint8_t> data;
};

} // namespace reg
