#include "registry/text.h"

#include <gtest/gtest.h>

namespace reg {
namespace {

TEST(Utf, RoundTripsAllPlanes) {
  const std::string text =
      "a\xc3\xa9\xe2\x98\x83\xf0\x9f\x98\x80z"; // a é ☃ 😀 z
  const std::u16string wide = toUtf16(text);
  EXPECT_EQ(wide, u"a\u00e9\u2603\U0001F600z");
  EXPECT_EQ(toUtf8(wide), text);
}

TEST(Utf, ReplacesWhatIsNotUtf) {
  struct Case {
    std::string Utf8;
    std::u16string Expected;
  };
  const Case cases[] = {
      {"a\xff"
       "b",
       u"a\ufffdb"},                   // stray byte
      {"\xc3", u"\ufffd"},             // truncated sequence
      {"\xc0\xaf", u"\ufffd\ufffd"},   // overlong '/'
      {"\xed\xa0\x80", u"\ufffd"},     // encoded surrogate
      {"\xf4\x90\x80\x80", u"\ufffd"}, // above U+10FFFF
  };
  for (const Case &c : cases)
    EXPECT_EQ(toUtf16(c.Utf8), c.Expected) << c.Utf8;
  EXPECT_EQ(toUtf8(std::u16string(u"x") + char16_t(0xd800) + u"y"),
            "x\xef\xbf\xbdy");
  EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xdc00))), "\xef\xbf\xbd");
}

TEST(CompareNames, FoldsToLowerCaseAsWine) {
  EXPECT_EQ(compareNames(u"Software", u"SOFTWARE"), 0);
  EXPECT_TRUE(namesEqual(u"\u00c9cole", u"\u00e9COLE")); // É/é
  EXPECT_TRUE(namesEqual(u"\u0394elta", u"\u03b4ELTA")); // Δ/δ
  EXPECT_FALSE(namesEqual(u"ab", u"abc"));
  // Lower-case folding puts '_' (0x5f) before letters (0x61..): Wine's
  // system.reg lists "_autodetect" before "ANSI_X3.4-1968".
  EXPECT_LT(compareNames(u"_autodetect", u"ANSI_X3.4-1968"), 0);
  EXPECT_LT(compareNames(u"[x", u"a"), 0);
  EXPECT_GT(compareNames(u"{x", u"Z"), 0);
  // Ties of different length: shorter first.
  EXPECT_LT(compareNames(u"Microsoft", u"MICROSOFT.XMLDOM"), 0);
  EXPECT_GT(compareNames(u"b", u"A"), 0);
  EXPECT_LT(compareNames(u"", u"a"), 0);
}

TEST(StringData, AddsAndStopsAtTheTerminator) {
  EXPECT_EQ(stringData(u"A\u00e9"),
            (std::vector<std::uint8_t>{'A', 0, 0xe9, 0, 0, 0}));
  EXPECT_EQ(stringData(u""), (std::vector<std::uint8_t>{0, 0}));
  EXPECT_EQ(stringFromData({'h', 0, 'i', 0, 0, 0, 'x', 0}), u"hi");
  EXPECT_EQ(stringFromData({'h', 0, 'i'}), u"h"); // odd byte ignored
  EXPECT_EQ(stringFromData({}), u"");
}

} // namespace
} // namespace reg
