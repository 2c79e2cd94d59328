// The one Windows-1252 table, read both ways.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/windows1252.h"

using namespace brannock;

TEST(Windows1252, EveryByteHasACharacterThatGivesItBack) {
  for (int b = 0; b < 256; ++b) {
    const char16_t c = Windows1252ToUtf16(static_cast<uint8_t>(b));
    EXPECT_EQ(Utf16ToWindows1252(c), b) << b;
  }
  EXPECT_EQ(Windows1252ToUtf16(0x41), u'A');
  EXPECT_EQ(Windows1252ToUtf16(0xE9), u'\u00E9');
  EXPECT_EQ(Windows1252ToUtf16(0x80), u'\u20AC');
  EXPECT_EQ(Windows1252ToUtf16(0x9F), u'\u0178');
  // The five unassigned bytes stand for the C1 control of their number.
  for (uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Windows1252ToUtf16(b), char16_t{b});
}

TEST(Windows1252, CharactersWithoutAByteAndWholeTexts) {
  // C1 controls the code page gives other characters, and characters
  // outside it, have no byte of their own.
  for (char16_t c : {u'\u0080', u'\u009F', u'\u0100', u'\u2028', u'\uFFFD', u'\xD800'})
    EXPECT_EQ(Utf16ToWindows1252(c), -1) << static_cast<int>(c);
  const std::vector<uint8_t> bytes{'x', 0x80, 0xFF, 0x93, 0x94};
  EXPECT_EQ(Windows1252ToText(bytes), u"x\u20AC\u00FF\u201C\u201D");
  // Texts go eight bytes at a time while they are ASCII: a byte outside it
  // at every place of a longer text.
  for (size_t at = 0; at < 30; ++at) {
    std::vector<uint8_t> run(30, 'n');
    run[at] = 0x9F;
    Text expected(30, u'n');
    expected[at] = u'\u0178';
    EXPECT_EQ(Windows1252ToText(run), expected) << at;
  }
  EXPECT_EQ(Windows1252ToText({}), u"");
}
