// Page layout of the viewer's printout, shared by both front ends: margins
// of 25 mm (left, top, bottom) and 15 mm (right), the line numbers right-
// aligned in the left margin, as many whole lines per page as the body
// holds. All lengths are in the device's dots.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock::ui {

inline constexpr double kPrintMarginLeftMm = 25;
inline constexpr double kPrintMarginRightMm = 15;
inline constexpr double kPrintMarginTopMm = 25;
inline constexpr double kPrintMarginBottomMm = 25;
// Space between the line numbers and the text.
inline constexpr double kPrintNumberGapMm = 3;
inline constexpr int kPrintTabWidth = 8;
// Body font "Courier New" of 8 points; white paper.
inline constexpr char16_t kPrintFontName[] = u"Courier New";
inline constexpr int kPrintFontPoints = 8;

// The printable page: its size in dots and its resolution in dots per inch.
struct TPrintDevice {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t DpiX = 0;
  int32_t DpiY = 0;
};

struct TPrintPageLayout {
  // The text body on each page.
  int32_t BodyLeft = 0;
  int32_t BodyTop = 0;
  int32_t BodyRight = 0;
  int32_t BodyBottom = 0;
  // The right edge of the line numbers, in the left margin.
  int32_t NumberRight = 0;
  int32_t LineHeight = 1;
  int32_t LinesPerPage = 1;
  int64_t LineCount = 0;
  int32_t PageCount = 1;

  // The lines [FirstLine(page), EndLine(page)) of a page counted from 0.
  int64_t FirstLine(int32_t page) const;
  int64_t EndLine(int32_t page) const;
  // The top of the line `line` on its page.
  int32_t LineTop(int64_t line) const;
};

int32_t MillimetresToDots(double millimetres, int32_t dotsPerInch);

// Lays out `lineCount` lines of `lineHeight` dots on pages of `device`. A
// body lower than one line still takes one line per page; an empty text
// prints one empty page.
TPrintPageLayout LayoutPrintPages(const TPrintDevice& device, int32_t lineHeight, int64_t lineCount);

// The number printed beside a line: counted from 1, as the printout of
// the text numbers its lines.
Text PrintLineNumberText(int64_t zeroBasedLine);

}  // namespace brannock::ui
