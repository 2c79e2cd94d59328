#include "ui/logic/print_layout.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

TEST(PrintLayout, A4At600DotsPerInch) {
  // A4 is 210 x 297 mm: 4961 x 7016 dots at 600 dpi.
  const TPrintDevice a4{4961, 7016, 600, 600};
  const TPrintPageLayout layout = LayoutPrintPages(a4, 100, 32598);
  EXPECT_EQ(layout.BodyLeft, 591);    // 25 mm
  EXPECT_EQ(layout.BodyTop, 591);
  EXPECT_EQ(layout.BodyRight, 4961 - 354);  // 15 mm
  EXPECT_EQ(layout.BodyBottom, 7016 - 591);
  EXPECT_LT(layout.NumberRight, layout.BodyLeft);
  EXPECT_GT(layout.NumberRight, 0);
  EXPECT_EQ(layout.LinesPerPage, (7016 - 591 - 591) / 100);  // 58
  EXPECT_EQ(layout.PageCount, (32598 + 57) / 58);            // 563
  EXPECT_EQ(layout.FirstLine(0), 0);
  EXPECT_EQ(layout.EndLine(0), 58);
  EXPECT_EQ(layout.FirstLine(1), 58);
  EXPECT_EQ(layout.LineTop(58), layout.BodyTop);
  EXPECT_EQ(layout.LineTop(59), layout.BodyTop + 100);
  // The last page holds what is left.
  EXPECT_EQ(layout.EndLine(layout.PageCount - 1), 32598);
  EXPECT_EQ(layout.EndLine(layout.PageCount - 1) - layout.FirstLine(layout.PageCount - 1), 32598 - 562 * 58);
  EXPECT_EQ(layout.FirstLine(layout.PageCount), 32598);
}

TEST(PrintLayout, EdgeCases) {
  const TPrintDevice page{2480, 3508, 300, 300};
  // Exactly full pages give no empty page at the end; an empty text one page.
  const TPrintPageLayout full = LayoutPrintPages(page, 50, 0);
  EXPECT_EQ(full.PageCount, 1);
  EXPECT_EQ(full.EndLine(0), 0);
  const int32_t perPage = LayoutPrintPages(page, 50, 1).LinesPerPage;
  EXPECT_EQ(LayoutPrintPages(page, 50, 2 * perPage).PageCount, 2);
  EXPECT_EQ(LayoutPrintPages(page, 50, 2 * perPage + 1).PageCount, 3);
  // A page lower than its margins or a line still prints one line a page.
  const TPrintPageLayout tiny = LayoutPrintPages({100, 100, 300, 300}, 50, 3);
  EXPECT_EQ(tiny.LinesPerPage, 1);
  EXPECT_EQ(tiny.PageCount, 3);
  EXPECT_GT(tiny.BodyRight, tiny.BodyLeft);
  EXPECT_GT(tiny.BodyBottom, tiny.BodyTop);
  EXPECT_EQ(LayoutPrintPages(page, 0, 10).LineHeight, 1);
  EXPECT_EQ(MillimetresToDots(25.4, 96), 96);
  EXPECT_EQ(PrintLineNumberText(0), u"1");
}

}  // namespace
}  // namespace brannock::ui
