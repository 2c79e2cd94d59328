#include "ui/win32/viewer_print.h"

#include "common/error.h"
#include "platform/win32/wide_text.h"

namespace brannock::ui {

namespace {

int FontHeight(int points, int dpi) { return -MulDiv(points, dpi, 72); }

}  // namespace

TViewerPrintout::TViewerPrintout(HDC dc, const TPrintDevice& device, const TTextDocument& text,
                                 TUnitLanguage language)
    : dc_(dc),
      device_(device),
      text_(text),
      fonts_(dc, reinterpret_cast<const wchar_t*>(kPrintFontName), FontHeight(kPrintFontPoints, device.DpiY)),
      layout_(LayoutPrintPages(device, fonts_.LineHeight(), text.LineCount())) {
  colouring_.SetLanguage(language);
  colouring_.Prepare(text_);
}

void TViewerPrintout::PaintPage(int32_t page) {
  const RECT paper = {0, 0, device_.Width, device_.Height};
  FillRect(dc_, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const HGDIOBJ oldFont = SelectObject(dc_, fonts_.Normal());
  const int oldMode = SetBkMode(dc_, TRANSPARENT);
  for (int64_t line = layout_.FirstLine(page); line < layout_.EndLine(page); ++line) {
    const int top = layout_.LineTop(line);
    const std::wstring number = platform::ToWide(PrintLineNumberText(line));
    SelectObject(dc_, fonts_.Normal());
    SetTextColor(dc_, RGB(0, 0, 0));
    RECT numberRect = {0, top, layout_.NumberRight, top + layout_.LineHeight};
    DrawTextW(dc_, number.c_str(), static_cast<int>(number.size()), &numberRect,
              DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    TLinePaint paint;
    paint.Left = paint.ClipLeft = layout_.BodyLeft;
    paint.Right = layout_.BodyRight;
    paint.Top = top;
    PaintTextLine(dc_, fonts_, text_.Line(line), colouring_.RunsOf(text_, line), paint);
  }
  SetBkMode(dc_, oldMode);
  SelectObject(dc_, oldFont);
}

TPrintDevice PrinterPaper(HDC printer) {
  TPrintDevice device{GetDeviceCaps(printer, PHYSICALWIDTH), GetDeviceCaps(printer, PHYSICALHEIGHT),
                      GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY)};
  if (device.Width <= 0 || device.Height <= 0) {
    device.Width = GetDeviceCaps(printer, HORZRES);
    device.Height = GetDeviceCaps(printer, VERTRES);
  }
  return device;
}

void PrintViewerText(HDC printer, const TTextDocument& text, TextView jobTitle, TUnitLanguage language) {
  const TPrintDevice paper = PrinterPaper(printer);
  // The printer's origin is its printable area; the pages are laid out
  // from the paper's corner.
  const POINT offset = {GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY)};
  const std::wstring title = platform::ToWide(jobTitle);
  DOCINFOW doc = {};
  doc.cbSize = sizeof(doc);
  doc.lpszDocName = title.c_str();
  if (StartDocW(printer, &doc) <= 0) throw Error(u"The printer could not start the print job");
  try {
    TViewerPrintout printout(printer, paper, text, language);
    for (int32_t page = 0; page < printout.Layout().PageCount; ++page) {
      if (StartPage(printer) <= 0) throw Error(u"The printer could not start a page");
      SetViewportOrgEx(printer, -offset.x, -offset.y, nullptr);
      printout.PaintPage(page);
      if (EndPage(printer) <= 0) throw Error(u"The printer could not finish a page");
    }
  } catch (...) {
    AbortDoc(printer);
    throw;
  }
  if (EndDoc(printer) <= 0) throw Error(u"The printer could not finish the print job");
}

}  // namespace brannock::ui
