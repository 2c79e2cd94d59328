// The ANSI code page conversion of a Windows (or Wine) system. The Wine stage
// runs with code page 1252, the code page the POSIX build writes.
#include <gtest/gtest.h>

#include "platform/codepage.h"

using namespace brannock;
using platform::ToAnsiCodePage;

TEST(CodePageWin32, Windows1252WithBestFit) {
  EXPECT_EQ(ToAnsiCodePage(u""), "");
  EXPECT_EQ(ToAnsiCodePage(u"Name;GUID\r\n"), "Name;GUID\r\n");
  // Latin-1 and the 0x80 to 0x9F block.
  EXPECT_EQ(ToAnsiCodePage(u"\x00e9\x00ff\x20ac\x2122\x0160"), "\xe9\xff\x80\x99\x8a");
  // Best fit to base letters; the default character elsewhere.
  EXPECT_EQ(ToAnsiCodePage(u"\x0141\x00f3" u"d\x017a"), "L\xf3" "dz");
  EXPECT_EQ(ToAnsiCodePage(u"\x65e5\x672c"), "??");
}

// Conversions the POSIX build's table copies: each half of a surrogate pair
// is one default character, and best fit covers letters with hooks and
// strokes, combining accents, Greek letters and superscript digits, but not
// the not-equal sign.
TEST(CodePageWin32, BestFitAndSurrogates) {
  EXPECT_EQ(ToAnsiCodePage(u"a\xd83d\xde00z"), "a??z");
  EXPECT_EQ(ToAnsiCodePage(u"\x0180\x01e6\x0301\x03b1\x2074"), "bG\xb4" "a4");
  EXPECT_EQ(ToAnsiCodePage(u"\x2260"), "?");
}
