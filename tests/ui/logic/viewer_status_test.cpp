#include "ui/logic/viewer_status.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

TEST(ViewerStatus, Texts) {
  EXPECT_EQ(CaretStatusText(1, 1, 48), u"Line: 1   Col: 1   Lines: 48");
  EXPECT_EQ(CaretStatusText(1200, 37, 100000), u"Line: 1200   Col: 37   Lines: 100000");
  EXPECT_EQ(GutterLineText(0), u"0");
  EXPECT_EQ(GutterLineText(41), u"41");
  EXPECT_EQ(PrintJobTitle(u"Brannock", u"Foo"), u"Brannock - [Foo]");
  EXPECT_EQ(PrintJobTitle(u"Brannock", u""), u"Brannock - []");
}

}  // namespace
}  // namespace brannock::ui
