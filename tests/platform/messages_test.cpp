#include "platform/messages.h"

#include <gtest/gtest.h>

namespace brannock::platform {
namespace {

TEST(TrimMessageText, CutsLengthThenTrailingBlanksAndStops) {
  EXPECT_EQ(TrimMessageText(u"Access is denied.\r\n"), u"Access is denied");
  EXPECT_EQ(TrimMessageText(u"Wait... \t.\x01"), u"Wait");
  EXPECT_EQ(TrimMessageText(u"  lead stays"), u"  lead stays");
  EXPECT_EQ(TrimMessageText(u". \r\n"), u"");
  EXPECT_EQ(TrimMessageText(u""), u"");
  EXPECT_EQ(TrimMessageText(Text(300, u'x')), Text(256, u'x'));
  // The cut comes first: what is then left at the end is trimmed.
  EXPECT_EQ(TrimMessageText(Text(250, u'x') + u" .  . ." + Text(40, u'y')), Text(250, u'x'));
}

}  // namespace
}  // namespace brannock::platform
