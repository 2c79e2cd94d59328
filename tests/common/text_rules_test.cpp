#include <gtest/gtest.h>

#include "common/guid.h"
#include "common/error.h"
#include "common/text.h"
#include "common/text_rules.h"

using namespace brannock;

TEST(IsBlank, ControlCharactersAndBlanksOnly) {
  EXPECT_TRUE(IsBlank(u""));
  EXPECT_TRUE(IsBlank(u" \t\r\n\x01 "));
  EXPECT_TRUE(IsBlank(Text(3, u'\0')));
  EXPECT_FALSE(IsBlank(u"  a "));
  EXPECT_FALSE(IsBlank(u"\x21"));
  EXPECT_FALSE(IsBlank(u"\x00A0"));  // a no-break space is no control character
}

TEST(ParseVersion, RuntimeIntegerSyntax) {
  uint32_t ma = 99, mi = 99;
  ParseVersion(u"1.0", &ma, &mi);
  EXPECT_EQ(ma, 1u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"2.10", &ma, &mi);
  EXPECT_EQ(ma, 2u); EXPECT_EQ(mi, 10u);
  ParseVersion(u"1.a", &ma, &mi);  // decimal digits: a is not ten
  EXPECT_EQ(ma, 1u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"3", &ma, &mi);
  EXPECT_EQ(ma, 0u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"x.5", &ma, &mi);
  EXPECT_EQ(ma, 0u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"$A.0x1f", &ma, &mi);
  EXPECT_EQ(ma, 10u); EXPECT_EQ(mi, 31u);
  ParseVersion(u"  -1.+7", &ma, &mi);
  EXPECT_EQ(ma, 0xFFFFFFFFu); EXPECT_EQ(mi, 7u);
  ParseVersion(u"1 .2", &ma, &mi);  // nothing may follow the digits
  EXPECT_EQ(ma, 0u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"4.5.6", &ma, &mi);  // "5.6" does not read: the minor stays 0
  EXPECT_EQ(ma, 4u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"1.XFFFFFFFF", &ma, &mi);
  EXPECT_EQ(ma, 1u); EXPECT_EQ(mi, 0xFFFFFFFFu);
  ParseVersion(u"2147483648.1", &ma, &mi);  // decimal overflow fails
  EXPECT_EQ(ma, 0u); EXPECT_EQ(mi, 0u);
  ParseVersion(u"-2147483648.1", &ma, &mi);
  EXPECT_EQ(ma, 0x80000000u); EXPECT_EQ(mi, 1u);
  ParseVersion(u"1.$", &ma, &mi);
  EXPECT_EQ(ma, 1u); EXPECT_EQ(mi, 0u);
}

TEST(ParseVersion, MinorReadsAtMost255Characters) {
  uint32_t ma = 0, mi = 0;
  ParseVersion(u"1." + Text(254, u'0') + u"7" + u"x", &ma, &mi);
  EXPECT_EQ(mi, 7u);  // the x is the 256th character and is not read
}

TEST(Guid, TextRoundTripAndErrors) {
  Guid g;
  ASSERT_TRUE(TryTextToGuid(u"{00020400-0000-0000-c000-000000000046}", &g));
  EXPECT_EQ(g.Data1, 0x00020400u);
  EXPECT_EQ(g.Data4[0], 0xC0);
  EXPECT_EQ(GuidToText(g), u"{00020400-0000-0000-C000-000000000046}");
  EXPECT_FALSE(TryTextToGuid(u"00020400-0000-0000-C000-000000000046", &g));
  EXPECT_FALSE(TryTextToGuid(u"{00020400-0000-0000-C000-00000000004G}", &g));
  EXPECT_THROW(TextToGuid(u"x.exe"), ConversionError);
}

TEST(Text, Utf8RoundTripAndCaseRules) {
  const Text t = u"Gr\u00FC\u00DFe \U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(t)), t);
  // Every encoded length, ASCII runs around them, and lone surrogates
  // (a high one at the very end, a low one inside) as U+FFFD.
  EXPECT_EQ(Utf16ToUtf8(u"a\u00E9b\u20ACcd\U0001F600e"), "a\xC3\xA9" "b\xE2\x82\xAC" "cd\xF0\x9F\x98\x80" "e");
  EXPECT_EQ(Utf16ToUtf8(Text(u"x") + char16_t(0xDC00) + u"y" + char16_t(0xD800)), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
  std::string appended = "line\n";
  AppendUtf8(u"\u00FF!", &appended);
  AppendUtf8(u"", &appended);
  EXPECT_EQ(appended, "line\n\xC3\xBF!");
  // Long texts go in pieces and eight units at a time: a character that is
  // not ASCII at every place of a 600-unit text, pairs across a piece's end,
  // and the units next to 0x80 (0x7F stays one byte, 0x80 and 0xFF80 do not).
  const struct {
    Text unit;
    std::string utf8;
  } kCases[] = {{u"\u00E9", "\xC3\xA9"},        {u"\u20AC", "\xE2\x82\xAC"}, {u"\U0001F600", "\xF0\x9F\x98\x80"},
                {Text(1, char16_t(0xD800)), "\xEF\xBF\xBD"}, {u"\u0080", "\xC2\x80"},      {u"\uFF80", "\xEF\xBE\x80"},
                {u"\u007F", "\x7F"}};
  for (const auto& c : kCases) {
    for (size_t at = 0; at <= 600; ++at) {
      Text text(at, u'a');
      text += c.unit;
      text.append(600 - at, u'b');
      const std::string expected = std::string(at, 'a') + c.utf8 + std::string(600 - at, 'b');
      ASSERT_EQ(Utf16ToUtf8(text), expected) << at << " " << c.utf8;
    }
  }
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong NUL
  EXPECT_EQ(UpperAscii(u"abc\u00E4"), u"ABC\u00E4");
  EXPECT_TRUE(EqualsNoCase(u"InprocServer32", u"INPROCSERVER32"));
  EXPECT_LT(CompareNoCase(u"a", u"B"), 0);
  EXPECT_LT(CompareNoCase(u"Z", u"_"), 0);  // upper-cased: 'Z' (0x5A) < '_' (0x5F)
  EXPECT_EQ(HexUpper(0x80004001u), u"80004001");
  EXPECT_EQ(HexUpper(5), u"5");
  EXPECT_EQ(IntToText(INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(TrimControls(u"\t a b \r\n"), u"a b");
}
