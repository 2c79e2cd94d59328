#include "registry/text_scan.h"

#include <gtest/gtest.h>

#include <vector>

using namespace brannock;
using namespace brannock::registry;

namespace {

// The lines of `text`, read whole or in pieces of `piece` code units.
std::vector<std::string> Lines(std::string_view text, size_t piece) {
  std::vector<std::string> out;
  auto collect = [&](scan::LineReader<char>& reader) {
    std::string_view line;
    while (reader.Next(line)) out.push_back(std::to_string(reader.LineNumber()) + ":" + std::string(line));
  };
  if (piece == 0) {
    scan::LineReader<char> reader(text);
    collect(reader);
  } else {
    size_t at = 0;
    scan::LineReader<char> reader([&](std::string& buffer) {
      if (at >= text.size()) return false;
      const size_t n = std::min(piece, text.size() - at);
      buffer.append(text.substr(at, n));
      at += n;
      return true;
    });
    collect(reader);
  }
  return out;
}

}  // namespace

TEST(LineReader, GivesTheSameLinesWholeAndInPieces) {
  const std::string text = "first\r\nsecond\n\nfourth line is longer\r\n\r\nlast without end";
  const std::vector<std::string> expected{"1:first", "2:second", "3:", "4:fourth line is longer", "5:",
                                          "6:last without end"};
  EXPECT_EQ(Lines(text, 0), expected);
  for (size_t piece : {1, 2, 3, 7, 64}) EXPECT_EQ(Lines(text, piece), expected) << "piece " << piece;
  EXPECT_EQ(Lines(text + "\n", 5), expected);
  EXPECT_TRUE(Lines("", 0).empty());
  EXPECT_TRUE(Lines("", 3).empty());
  EXPECT_EQ(Lines("\n", 1), std::vector<std::string>{"1:"});
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
  EXPECT_TRUE(scan::IsValidUtf8("plain \xc3\xa9"));
  EXPECT_FALSE(scan::IsValidUtf8("caf\xe9"));
  EXPECT_FALSE(scan::IsValidUtf8("\xc0\xaf"));          // overlong
  EXPECT_FALSE(scan::IsValidUtf8("\xed\xa0\x80"));      // surrogate
  EXPECT_FALSE(scan::IsValidUtf8("\xf0\x9f\x98"));      // cut short
}
