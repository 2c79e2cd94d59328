#include <cmath>

#include "ui/win32/viewer_print.h"
#include "ui/win32/window_images.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

// A page of paper at 96 dpi (A4) as a 32-bit bitmap in a memory context.
class PageBitmap {
 public:
  static constexpr int kWidth = 794;
  static constexpr int kHeight = 1123;
  // The bitmap's colour before anything is painted.
  static constexpr COLORREF kUnpainted = RGB(12, 34, 56);
  PageBitmap() {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreatePixelBitmap(kWidth, kHeight, bits_);
    old_ = SelectObject(dc_, bitmap_);
    const RECT all = {0, 0, kWidth, kHeight};
    const HBRUSH unpainted = CreateSolidBrush(kUnpainted);
    FillRect(dc_, &all, unpainted);
    DeleteObject(unpainted);
  }
  ~PageBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  TPrintDevice Device() const { return {kWidth, kHeight, 96, 96}; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * kWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int CountExactly(COLORREF colour) const {
    int count = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) count += At(x, y) == colour;
    return count;
  }
  int CountNear(COLORREF colour, int left = 0, int right = kWidth) const {
    int count = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = left; x < right; ++x) {
        const COLORREF c = At(x, y);
        if (std::abs(GetRValue(c) - GetRValue(colour)) < 60 && std::abs(GetGValue(c) - GetGValue(colour)) < 60 &&
            std::abs(GetBValue(c) - GetBValue(colour)) < 60)
          ++count;
      }
    return count;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

TEST(Win32ViewerPrint, PagesOfMshtmlOnABitmap) {
  const auto view = OpenView(Mshtml());
  ASSERT_TRUE(view);
  const TTextDocument& text = view->SynMemo->Document();
  PageBitmap page;
  TViewerPrintout printout(page.Dc(), page.Device(), text);
  const TPrintPageLayout& layout = printout.Layout();
  // 25 mm margins at 96 dpi; Courier New 8 pt lines of 10 to 16 pixels.
  EXPECT_EQ(layout.BodyLeft, 94);
  EXPECT_EQ(layout.BodyTop, 94);
  EXPECT_EQ(layout.BodyRight, PageBitmap::kWidth - 57);
  EXPECT_GE(layout.LineHeight, 10);
  EXPECT_LE(layout.LineHeight, 16);
  EXPECT_EQ(layout.LinesPerPage, (PageBitmap::kHeight - 94 - 94) / layout.LineHeight);
  EXPECT_EQ(layout.PageCount, (text.LineCount() + layout.LinesPerPage - 1) / layout.LinesPerPage);
  EXPECT_GT(layout.PageCount, 400);
  std::printf("mshtml.tlb: %lld lines, %d lines of %d px a page, %d pages\n",
              static_cast<long long>(text.LineCount()), layout.LinesPerPage, layout.LineHeight, layout.PageCount);

  printout.PaintPage(0);
  // White paper everywhere the text leaves it, margins included.
  EXPECT_EQ(page.At(2, 2), RGB(255, 255, 255));
  EXPECT_EQ(page.At(PageBitmap::kWidth - 3, PageBitmap::kHeight - 3), RGB(255, 255, 255));
  EXPECT_EQ(page.CountExactly(PageBitmap::kUnpainted), 0);
  // The first page opens with comments (green) and keywords; numbers (blue)
  // and strings (red) come with the first declarations.
  EXPECT_GT(page.CountNear(RGB(0, 128, 0), layout.BodyLeft), 50);
  EXPECT_GT(page.CountNear(RGB(0, 0, 127), layout.BodyLeft), 50);
  // Line numbers stand in the left margin: ink left of the body, none in
  // the outer half of the margin.
  EXPECT_GT(page.CountNear(RGB(0, 0, 0), 0, layout.BodyLeft), 50);
  EXPECT_EQ(page.CountNear(RGB(0, 0, 0), 0, 20), 0);
  // Nothing is drawn into the right margin.
  EXPECT_EQ(page.CountNear(RGB(0, 0, 0), layout.BodyRight, PageBitmap::kWidth), 0);

  // The last page holds the rest of the lines, ending with "end.".
  printout.PaintPage(layout.PageCount - 1);
  EXPECT_EQ(text.Line(text.LineCount() - 1), u"end.");
  EXPECT_GT(page.CountNear(RGB(0, 0, 0), 0, layout.BodyLeft), 10);
}

TEST(Win32ViewerPrint, PagesShowColoursOfEveryKindAndAPrintFailureIsReported) {
  BoxCapture boxes;
  const auto view = OpenView(Fixture("render_demo"));
  ASSERT_TRUE(view);
  PageBitmap page;
  TViewerPrintout printout(page.Dc(), page.Device(), view->SynMemo->Document());
  printout.PaintPage(0);
  const int left = printout.Layout().BodyLeft;
  EXPECT_GT(page.CountNear(RGB(0, 128, 0), left), 20);   // comments
  EXPECT_GT(page.CountNear(RGB(0, 0, 255), left), 20);   // numbers
  EXPECT_GT(page.CountNear(RGB(255, 0, 0), left), 20);   // strings
  // A device context that cannot print: "Ready" and the normal cursor
  // again, then the report.
  Text panelAtReport;
  SetErrorReportHook([&](const Text& text) {
    boxes.reports.push_back(text);
    panelAtReport = view->PanelText(0);
  });
  view->PrintTo(page.Dc());
  EXPECT_EQ(boxes.reports.size(), 1u);
  EXPECT_EQ(panelAtReport, u"Ready");
  EXPECT_EQ(view->PanelText(0), u"Ready");
}

}  // namespace
}  // namespace brannock::ui::testing
