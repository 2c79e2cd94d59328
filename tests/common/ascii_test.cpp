#include "common/ascii.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/text.h"

namespace brannock {
namespace {

TEST(Ascii, CaseOfTheLettersAToZOnly) {
  EXPECT_EQ(UpperAscii('a'), 'A');
  EXPECT_EQ(UpperAscii('z'), 'Z');
  EXPECT_EQ(UpperAscii(u'm'), u'M');
  EXPECT_EQ(LowerAscii('A'), 'a');
  EXPECT_EQ(LowerAscii(u'Z'), u'z');
  // The neighbours of the letters, and letters beyond ASCII, stay.
  for (char16_t c : {u'@', u'[', u'`', u'{', u'_', u'0', u'\u00E9', u'\u00C9', u'\uFF41'}) {
    EXPECT_EQ(UpperAscii(c), c) << static_cast<int>(c);
    EXPECT_EQ(LowerAscii(c), c) << static_cast<int>(c);
  }
  EXPECT_EQ(UpperAscii(static_cast<char>(0xE9)), static_cast<char>(0xE9)) << "a Windows-1252 letter";
  EXPECT_EQ(UpperAscii(u"Ab_z\u00E9"), u"AB_Z\u00E9");
  EXPECT_EQ(LowerAscii(u"Ab_Z\u00C9"), u"ab_z\u00C9");
}

TEST(Ascii, HexDigitsAndNumbers) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue(u'9'), 9);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue(u'F'), 15);
  for (char c : {'/', ':', '@', 'G', '`', 'g', ' '}) EXPECT_EQ(HexDigitValue(c), -1) << c;
  EXPECT_EQ(HexDigitValue(u'\uFF10'), -1) << "a full-width zero";

  uint32_t value = 7;
  EXPECT_TRUE(ParseHex32(std::string_view("ffFFffFF"), &value));
  EXPECT_EQ(value, 0xFFFFFFFFu);
  EXPECT_TRUE(ParseHex32(TextView(u"0"), &value));
  EXPECT_EQ(value, 0u);
  EXPECT_TRUE(ParseHex32(std::string_view("00000010"), &value));
  EXPECT_EQ(value, 16u);
  value = 7;
  for (std::string_view bad : {"", "100000000", "12 ", "-1", "0x1", "g"}) {
    EXPECT_FALSE(ParseHex32(bad, &value)) << bad;
    EXPECT_EQ(value, 7u) << "untouched by " << bad;
  }
}

TEST(Ascii, DecimalNumbersAtEveryDigitCount) {
  // Every number of digits, both ends of each, appended after what is there.
  uint64_t low = 1;
  for (int digits = 1; digits <= 19; ++digits, low *= 10) {
    for (uint64_t v : {low, low * 10 - 1, low + 7}) {
      Text text = u"n=";
      AppendUInt(v, &text);
      EXPECT_EQ(text, u"n=" + Utf8ToUtf16(std::to_string(v)));
    }
  }
  EXPECT_EQ(UIntToText(0), u"0");
  EXPECT_EQ(UIntToText(UINT64_MAX), u"18446744073709551615");
  EXPECT_EQ(IntToText(-1), u"-1");
  EXPECT_EQ(IntToText(-2147418112), u"-2147418112");
  EXPECT_EQ(IntToText(INT64_MIN), u"-9223372036854775808");
}

}  // namespace
}  // namespace brannock
