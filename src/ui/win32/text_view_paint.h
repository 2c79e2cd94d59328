// Drawing lines of Pascal text on any device context: the screen view and
// the printed pages share it. Fonts are monospaced, so a column is a fixed
// width; tabs are expanded to multiples of eight columns.
#pragma once

#include <windows.h>

#include <vector>

#include "common/text.h"
#include "ui/logic/pascal_tokens.h"

namespace brannock::ui {

inline constexpr int kTextTabWidth = 8;

// The normal and bold font of a text in one size, for one device context.
class TTextFonts {
 public:
  // `height` is a font height as for CreateFontW (negative: character
  // height in the device's units).
  TTextFonts(HDC dc, const wchar_t* face, int height);
  ~TTextFonts();
  TTextFonts(const TTextFonts&) = delete;
  TTextFonts& operator=(const TTextFonts&) = delete;

  HFONT Normal() const { return normal_; }
  HFONT Bold() const { return bold_; }
  int CharWidth() const { return charWidth_; }
  int LineHeight() const { return lineHeight_; }

 private:
  HFONT normal_ = nullptr;
  HFONT bold_ = nullptr;
  int charWidth_ = 1;
  int lineHeight_ = 1;
};

struct TLinePaint {
  int Left = 0;      // x of column 0 (moved left by any scrolling)
  int ClipLeft = 0;  // the band drawn runs from ClipLeft to Right
  int Right = 0;
  int Top = 0;
  COLORREF Background = RGB(255, 255, 255);
  // Selected columns [SelectionStart, SelectionEnd) in UTF-16 units of the
  // line; an empty range selects nothing. SelectionToEnd marks the line
  // break as selected too.
  int64_t SelectionStart = 0;
  int64_t SelectionEnd = 0;
  bool SelectionToEnd = false;
};

// Fills `rect` with one colour (through ExtTextOutW, with no brush to make).
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// Fills the line's band from `paint.ClipLeft` to `paint.Right` and draws the
// text in its token colours: neighbouring tokens of one look in one call.
void PaintTextLine(HDC dc, const TTextFonts& fonts, TextView line, const std::vector<TTokenRun>& runs,
                   const TLinePaint& paint);

// The display column of UTF-16 index `index` of `line` (tabs expanded).
int64_t DisplayColumnOf(TextView line, int64_t index);
// The UTF-16 index nearest to display column `column`.
int64_t IndexOfDisplayColumn(TextView line, int64_t column);

}  // namespace brannock::ui
