#include <gtest/gtest.h>

#include "platform/command_line.h"

using namespace brannock;
using platform::SplitCommandLine;

TEST(SplitCommandLine, WindowsRuntimeRules) {
  EXPECT_EQ(SplitCommandLine(u""), TextList{});
  EXPECT_EQ(SplitCommandLine(u"  \t "), TextList{});
  EXPECT_EQ(SplitCommandLine(u"/u  \"C:\\Program Files\\x.dll\""), (TextList{u"/u", u"C:\\Program Files\\x.dll"}));
  // A quoted part inside a word joins it; an empty pair of quotes is an
  // empty argument.
  EXPECT_EQ(SplitCommandLine(u"a\"b c\"d \"\" e"), (TextList{u"ab cd", u"", u"e"}));
  // Backslashes are literal unless they stand before a quote.
  EXPECT_EQ(SplitCommandLine(u"C:\\dir\\ x\\\\y"), (TextList{u"C:\\dir\\", u"x\\\\y"}));
  EXPECT_EQ(SplitCommandLine(u"a\\\"b"), (TextList{u"a\"b"}));          // 1 -> literal quote
  EXPECT_EQ(SplitCommandLine(u"\"a\\\\\" b"), (TextList{u"a\\", u"b"}));  // 2 -> one, quote closes
  EXPECT_EQ(SplitCommandLine(u"a\\\\\\\"b"), (TextList{u"a\\\"b"}));    // 3 -> one and a quote
  // "" inside quotes is one literal quote; an unclosed quote runs to the end.
  EXPECT_EQ(SplitCommandLine(u"\"say \"\"hi\"\"\" x"), (TextList{u"say \"hi\"", u"x"}));
  EXPECT_EQ(SplitCommandLine(u"\"open ended  "), (TextList{u"open ended  "}));
  EXPECT_EQ(SplitCommandLine(u"\x00e9t\x00e9 \x65e5\x672c"), (TextList{u"\x00e9t\x00e9", u"\x65e5\x672c"}));
}
