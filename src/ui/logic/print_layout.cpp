#include "ui/logic/print_layout.h"

#include <algorithm>
#include <cmath>

namespace brannock::ui {

int32_t MillimetresToDots(double millimetres, int32_t dotsPerInch) {
  return static_cast<int32_t>(std::lround(millimetres * dotsPerInch / 25.4));
}

TPrintPageLayout LayoutPrintPages(const TPrintDevice& device, int32_t lineHeight, int64_t lineCount) {
  TPrintPageLayout layout;
  layout.LineHeight = std::max<int32_t>(1, lineHeight);
  layout.LineCount = std::max<int64_t>(0, lineCount);
  const int32_t left = MillimetresToDots(kPrintMarginLeftMm, device.DpiX);
  const int32_t right = MillimetresToDots(kPrintMarginRightMm, device.DpiX);
  const int32_t top = MillimetresToDots(kPrintMarginTopMm, device.DpiY);
  const int32_t bottom = MillimetresToDots(kPrintMarginBottomMm, device.DpiY);
  layout.BodyLeft = std::min(left, std::max<int32_t>(0, device.Width - 1));
  layout.BodyRight = std::max(layout.BodyLeft + 1, device.Width - right);
  layout.BodyTop = std::min(top, std::max<int32_t>(0, device.Height - 1));
  layout.BodyBottom = std::max(layout.BodyTop + 1, device.Height - bottom);
  layout.NumberRight = std::max<int32_t>(0, layout.BodyLeft - MillimetresToDots(kPrintNumberGapMm, device.DpiX));
  layout.LinesPerPage = std::max<int32_t>(1, (layout.BodyBottom - layout.BodyTop) / layout.LineHeight);
  const int64_t pages = (layout.LineCount + layout.LinesPerPage - 1) / layout.LinesPerPage;
  layout.PageCount = static_cast<int32_t>(std::clamp<int64_t>(pages, 1, INT32_MAX));
  return layout;
}

int64_t TPrintPageLayout::FirstLine(int32_t page) const {
  return std::min<int64_t>(LineCount, static_cast<int64_t>(std::max(0, page)) * LinesPerPage);
}

int64_t TPrintPageLayout::EndLine(int32_t page) const {
  return std::min<int64_t>(LineCount, FirstLine(page) + LinesPerPage);
}

int32_t TPrintPageLayout::LineTop(int64_t line) const {
  return BodyTop + static_cast<int32_t>(line % LinesPerPage) * LineHeight;
}

Text PrintLineNumberText(int64_t zeroBasedLine) { return IntToText(zeroBasedLine + 1); }

}  // namespace brannock::ui
