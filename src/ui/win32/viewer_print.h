// The viewer's printout on GDI: the page layout shared with the Qt viewer
// (margins, Courier New 8 pt, line numbers in the left margin, tab width 8,
// colours of the shown notation on white), painted by the text view's own line painter onto any
// device context whose origin is the paper's top left corner, so that a
// page can be painted onto a bitmap as well as onto a printer.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/logic/print_layout.h"
#include "ui/logic/text_colouring.h"
#include "ui/logic/text_document.h"
#include "ui/win32/text_view_paint.h"

namespace brannock::ui {

class TViewerPrintout {
 public:
  TViewerPrintout(HDC dc, const TPrintDevice& device, const TTextDocument& text,
                  TUnitLanguage language = TUnitLanguage::Pascal);
  const TPrintPageLayout& Layout() const { return layout_; }
  // Paints page `page` (from 0), white paper first.
  void PaintPage(int32_t page);

 private:
  HDC dc_;
  TPrintDevice device_;
  const TTextDocument& text_;
  TTextFonts fonts_;
  TPrintPageLayout layout_;
  TTextColouring colouring_;
};

// The paper of a printer's device context: its whole size and resolution.
TPrintDevice PrinterPaper(HDC printer);

// Prints every page of `text` as one job named `jobTitle`. Raises
// brannock::Error when the printer refuses a step.
void PrintViewerText(HDC printer, const TTextDocument& text, TextView jobTitle,
                     TUnitLanguage language = TUnitLanguage::Pascal);

}  // namespace brannock::ui
