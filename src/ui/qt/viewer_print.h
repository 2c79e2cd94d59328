// Printing the viewer's text: a copy of its lines on white with the Pascal
// or IDL colouring in Courier New 8 pt, line numbers in the left margin, tab width
// 8, margins of 25 mm (left, top, bottom) and 15 mm (right), all pages, one
// copy. The pages are laid out by ui/logic's print layout and coloured by
// its Pascal or IDL tokens, as the Windows front end prints them.
#pragma once

#include <QString>

#include "ui/logic/idl_tokens.h"

class QPainter;
class QsciPrinter;

namespace brannock::ui {

// `jobTitle` becomes the document name the print queue shows. Raises
// brannock::Error when the printer cannot print.
void PrintViewerText(const QString& text, QsciPrinter& printer, const QString& jobTitle,
                     TUnitLanguage language = TUnitLanguage::Pascal);

// The pages of `text` laid out for `printer`, drawn with `painter` (which
// PrintViewerText opens on the printer itself).
void PaintViewerText(const QString& text, QsciPrinter& printer, QPainter& painter,
                     TUnitLanguage language = TUnitLanguage::Pascal);

}  // namespace brannock::ui
