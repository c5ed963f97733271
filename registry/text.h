// The one place where the registry's UTF-16 text meets the program's UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace reg {

// UTF-8 to UTF-16; invalid UTF-8 bytes become U+FFFD.
std::u16string toUtf16(std::string_view utf8);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view utf16);

// Case-insensitive comparison of key and value names, folding as Wine does
// (simple lower-case folding of each UTF-16 code unit, so "_x" < "a").
int compareNames(std::u16string_view a, std::u16string_view b);
bool namesEqual(std::u16string_view a, std::u16string_view b);

// REG_SZ data: the UTF-16LE bytes of `text` followed by a terminating zero.
std::vector<std::uint8_t> stringData(std::u16string_view text);
// Text of string data: up to the first zero code unit (or the end); an odd
// trailing byte is ignored.
std::u16string stringFromData(const std::vector<std::uint8_t> &data);

} // namespace reg
