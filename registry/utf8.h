// UTF-8 decoding and encoding shared by the text helpers and the hive reader.
#pragma once

#include <string>

namespace reg::utf8 {

inline constexpr char32_t Invalid = 0xffffffff;

// Decodes the sequence at `p` (p < end) and moves `p` past the bytes used.
// Returns Invalid for a stray, overlong, truncated or out-of-range sequence;
// then `p` has moved past the lead byte and the continuation bytes that
// matched, which is how Wine's hive reader skips such bytes.
inline char32_t decode(const char *&p, const char *end) {
  const auto lead = static_cast<unsigned char>(*p++);
  if (lead < 0x80)
    return lead;
  int more;
  char32_t cp;
  if (lead >= 0xc2 && lead < 0xe0) {
    more = 1;
    cp = lead & 0x1f;
  } else if (lead >= 0xe0 && lead < 0xf0) {
    more = 2;
    cp = lead & 0x0f;
  } else if (lead >= 0xf0 && lead < 0xf5) {
    more = 3;
    cp = lead & 0x07;
  } else {
    return Invalid;
  }
  static constexpr char32_t MinValue[] = {0, 0x80, 0x800, 0x10000};
  for (int i = 0; i < more; ++i) {
    if (p == end)
      return Invalid;
    const unsigned bits = static_cast<unsigned char>(*p) ^ 0x80u;
    if (bits >= 0x40)
      return Invalid;
    cp = (cp << 6) | bits;
    ++p;
  }
  if (cp < MinValue[more] || cp > 0x10ffff)
    return Invalid;
  return cp;
}

// Appends `cp` as one UTF-16 code unit or a surrogate pair.
inline void appendUtf16(std::u16string &out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
    return;
  }
  cp -= 0x10000;
  out.push_back(static_cast<char16_t>(0xd800 | (cp >> 10)));
  out.push_back(static_cast<char16_t>(0xdc00 | (cp & 0x3ff)));
}

} // namespace reg::utf8
