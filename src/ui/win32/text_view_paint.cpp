#include "ui/win32/text_view_paint.h"

#include <algorithm>

namespace brannock::ui {

namespace {

COLORREF ColourRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

TTextFonts::TTextFonts(HDC dc, const wchar_t* face, int height) {
  LOGFONTW font = {};
  font.lfHeight = height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  normal_ = CreateFontIndirectW(&font);
  font.lfWeight = FW_BOLD;
  bold_ = CreateFontIndirectW(&font);
  const HGDIOBJ old = SelectObject(dc, normal_);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SIZE zero = {};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  charWidth_ = std::max<int>(1, zero.cx);
  lineHeight_ = std::max<int>(1, metrics.tmHeight);
  SelectObject(dc, old);
}

TTextFonts::~TTextFonts() {
  DeleteObject(normal_);
  DeleteObject(bold_);
}

int64_t DisplayColumnOf(TextView line, int64_t index) {
  int64_t column = 0;
  const auto end = static_cast<size_t>(std::clamp<int64_t>(index, 0, static_cast<int64_t>(line.size())));
  for (size_t i = 0; i < end; ++i) column = line[i] == u'\t' ? (column / kTextTabWidth + 1) * kTextTabWidth : column + 1;
  return column;
}

int64_t IndexOfDisplayColumn(TextView line, int64_t column) {
  int64_t at = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const int64_t next = line[i] == u'\t' ? (at / kTextTabWidth + 1) * kTextTabWidth : at + 1;
    if (column < (at + next + 1) / 2) return static_cast<int64_t>(i);
    at = next;
  }
  return static_cast<int64_t>(line.size());
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void PaintTextLine(HDC dc, const TTextFonts& fonts, TextView line, const std::vector<TTokenRun>& runs,
                   const TLinePaint& paint) {
  const int cw = fonts.CharWidth();
  const int height = fonts.LineHeight();
  const RECT band = {paint.ClipLeft, paint.Top, paint.Right, paint.Top + height};
  FillSolid(dc, band, paint.Background);

  const int64_t selStart = std::min(paint.SelectionStart, paint.SelectionEnd);
  const int64_t selEnd = std::max(paint.SelectionStart, paint.SelectionEnd);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  const auto fillColumns = [&](int64_t from, int64_t to, COLORREF colour) {
    const int x = paint.Left + static_cast<int>(from) * cw;
    FillSolid(dc, {std::max<LONG>(x, band.left), paint.Top,
                   std::min<LONG>(paint.Left + static_cast<int>(to) * cw, paint.Right), paint.Top + height},
              colour);
  };
  if (paint.SelectionToEnd) {
    // The selected line break: one column behind the text.
    const int64_t end = DisplayColumnOf(line, static_cast<int64_t>(line.size()));
    fillColumns(end, end + 1, highlight);
  }

  const HGDIOBJ oldFont = SelectObject(dc, fonts.Normal());
  HGDIOBJ font = fonts.Normal();
  const int oldMode = SetBkMode(dc, OPAQUE);
  int64_t column = 0;
  for (size_t r = 0; r < runs.size() && paint.Left + static_cast<int>(column) * cw < paint.Right;) {
    // Runs of one look that follow each other are drawn in one call;
    // blanks look alike in any colour and weight and join any run.
    TTokenStyle style = PascalTokenStyle(runs[r].Token);
    bool blanksOnly = runs[r].Token == TPascalToken::Blank;
    size_t i = runs[r].Start;
    size_t end = std::min<size_t>(runs[r].Start + runs[r].Length, line.size());
    for (++r; r < runs.size() && runs[r].Start == end; ++r) {
      if (runs[r].Token != TPascalToken::Blank) {
        const TTokenStyle next = PascalTokenStyle(runs[r].Token);
        if (blanksOnly) {
          style = next;
          blanksOnly = false;
        } else if (next.Colour != style.Colour || next.Bold != style.Bold) {
          break;
        }
      }
      end = std::min<size_t>(runs[r].Start + runs[r].Length, line.size());
    }
    const HGDIOBJ wanted = style.Bold ? fonts.Bold() : fonts.Normal();
    if (wanted != font) SelectObject(dc, font = wanted);
    while (i < end) {
      // One piece: up to a tab, a selection edge or the end.
      const bool selected = static_cast<int64_t>(i) >= selStart && static_cast<int64_t>(i) < selEnd;
      size_t j = i;
      while (j < end && line[j] != u'\t' &&
             (static_cast<int64_t>(j) >= selStart && static_cast<int64_t>(j) < selEnd) == selected)
        ++j;
      const int x = paint.Left + static_cast<int>(column) * cw;
      if (j > i) {
        const int width = static_cast<int>(j - i) * cw;
        if (x < paint.Right && x + width > band.left) {
          SetTextColor(dc, selected ? highlightText : ColourRef(style.Colour));
          SetBkColor(dc, selected ? highlight : paint.Background);
          const RECT clip = {std::max<LONG>(x, band.left), paint.Top, std::min<LONG>(x + width, paint.Right),
                             paint.Top + height};
          ExtTextOutW(dc, x, paint.Top, ETO_CLIPPED | ETO_OPAQUE, &clip, reinterpret_cast<const wchar_t*>(line.data() + i),
                      static_cast<UINT>(j - i), nullptr);
        }
        column += static_cast<int64_t>(j - i);
        i = j;
      } else {
        // A tab: blank columns up to the next stop, selected or not.
        const int64_t next = (column / kTextTabWidth + 1) * kTextTabWidth;
        if (selected) fillColumns(column, next, highlight);
        column = next;
        ++i;
      }
      if (paint.Left + static_cast<int>(column) * cw >= paint.Right) break;
    }
  }
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace brannock::ui
