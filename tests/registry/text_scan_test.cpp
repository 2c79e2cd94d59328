#include "registry/text_scan.h"

#include <gtest/gtest.h>

#include <vector>

using namespace brannock;
using namespace brannock::registry;

namespace {

// The lines of `text` with their numbers, from `firstLine` on.
template <typename Ch>
std::vector<std::basic_string<Ch>> Lines(std::basic_string_view<Ch> text, size_t firstLine = 0) {
  std::vector<std::basic_string<Ch>> out;
  scan::LineReader<Ch> reader(text, firstLine);
  std::basic_string_view<Ch> line;
  while (reader.Next(line)) {
    std::basic_string<Ch> numbered;
    for (char c : std::to_string(reader.LineNumber()) + ":") numbered.push_back(static_cast<Ch>(c));
    out.push_back(numbered + std::basic_string<Ch>(line));
  }
  return out;
}

}  // namespace

TEST(LineReader, SplitsLinesOfEveryLengthAndGoesOnFromAPosition) {
  using namespace std::string_view_literals;
  EXPECT_EQ(Lines("first\r\nsecond\n\nfourth line is longer\r\n\r\nlast without end"sv),
            (std::vector<std::string>{"1:first", "2:second", "3:", "4:fourth line is longer", "5:",
                                      "6:last without end"}));
  EXPECT_TRUE(Lines(""sv).empty());
  EXPECT_EQ(Lines("\n"sv), std::vector<std::string>{"1:"});
  EXPECT_EQ(Lines("a\n"sv, 41), std::vector<std::string>{"42:a"});

  // UTF-16 text is searched several code units at a time: a line end in
  // every place of such a group, and none at all.
  std::u16string text;
  std::vector<std::u16string> expected;
  for (size_t length = 0; length < 12; ++length) {
    const std::u16string line(length, static_cast<char16_t>(u'a' + length));
    text += line + (length % 3 == 0 ? u"\r\n" : u"\n");
    expected.push_back(Utf8ToUtf16(std::to_string(length + 1) + ":") + line);
  }
  text += u"\u0a0a\u0a00 without a line end";  // code units that hold 0x0A in one byte only
  expected.push_back(u"13:\u0a0a\u0a00 without a line end");
  EXPECT_EQ(Lines(std::u16string_view(text)), expected);

  // A reader started where another stopped goes on with its numbers.
  scan::LineReader<char16_t> reader(text);
  std::u16string_view line;
  for (int i = 0; i < 5; ++i) reader.Next(line);
  const auto rest = Lines(std::u16string_view(text).substr(reader.Position()), reader.LineNumber());
  EXPECT_EQ(rest, std::vector<std::u16string>(expected.begin() + 5, expected.end()));
}

TEST(TextScan, ReadsHexBytesAcrossContinuationLines) {
  scan::LineReader<char> lines(std::string_view("  03,04,\\\n  05\nnext"));
  Bytes bytes;
  EXPECT_EQ(scan::ReadHexBytes<char>("01, 2 ,\\", lines, bytes), "");
  EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 5}));
  std::string_view rest;
  ASSERT_TRUE(lines.Next(rest));
  EXPECT_EQ(rest, "next");  // the value's lines were used up, no more
  Bytes none;
  EXPECT_EQ(scan::ReadHexBytes<char>("", lines, none), "");
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(scan::ReadHexBytes<char>("100", lines, none), "invalid hex byte \"100\"");
}

TEST(TextScan, DecodesEightBitText) {
  Text out;
  scan::AppendText(out, std::string_view("a\x80\xe9"), scan::Encoding::Windows1252);
  EXPECT_EQ(out, u"a\u20AC\u00E9");
  out.clear();
  scan::AppendText(out, std::string_view("a\xe2\x82\xac"), scan::Encoding::Utf8);
  EXPECT_EQ(out, u"a\u20AC");
  // ASCII goes eight bytes at a time: a character outside it at every place
  // of a longer run, appended after text already there.
  for (size_t at = 0; at < 30; ++at) {
    std::string eightBit(30, 'k');
    eightBit[at] = '\x80';
    std::string utf8 = std::string(at, 'k') + "\xe2\x82\xac" + std::string(29 - at, 'k');
    Text expected = u"[" + Text(30, u'k');
    expected[1 + at] = u'\u20AC';
    Text text = u"[";
    scan::AppendText(text, eightBit, scan::Encoding::Windows1252);
    EXPECT_EQ(text, expected) << at;
    text = u"[";
    scan::AppendText(text, utf8, scan::Encoding::Utf8);
    EXPECT_EQ(text, expected) << at;
  }
  EXPECT_TRUE(scan::IsValidUtf8("plain \xc3\xa9"));
  EXPECT_FALSE(scan::IsValidUtf8("caf\xe9"));
  EXPECT_FALSE(scan::IsValidUtf8("\xc0\xaf"));          // overlong
  EXPECT_FALSE(scan::IsValidUtf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(scan::IsValidUtf8("\xf0\x9f\x98"));      // cut short
}
