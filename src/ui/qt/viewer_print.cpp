#include "ui/qt/viewer_print.h"

#include <Qsci/qscilexerpascal.h>
#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>

#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>

#include "common/error.h"
#include "ui/qt/viewer_editor.h"

namespace brannock::ui {

void PaintViewerText(const QString& text, QsciPrinter& printer, QPainter& painter) {
  QFont font(QStringLiteral("Courier New"), 8);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);

  QsciScintilla copy;
  copy.setUtf8(true);
  copy.setLexer(CreatePascalLexer(&copy, font));
  copy.setTabWidth(8);
  copy.setMarginsFont(font);
  copy.setMarginLineNumbers(0, true);
  copy.setMarginWidth(0, QStringLiteral("99999"));
  copy.setText(text);
  copy.SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                     static_cast<long>(QsciScintillaBase::SC_PRINT_COLOURONWHITE));
  printer.setMagnification(0);
  if (!printer.printRange(&copy, painter)) throw Error(u"The printer could not print the text");
}

void PrintViewerText(const QString& text, QsciPrinter& printer, const QString& jobTitle) {
  printer.setDocName(jobTitle);
  printer.setPageMargins(QMarginsF(25, 25, 15, 25), QPageLayout::Millimeter);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setCopyCount(1);
  QPainter painter;
  if (!painter.begin(&printer)) throw Error(u"The printer could not print the text");
  PaintViewerText(text, printer, painter);
  painter.end();
}

}  // namespace brannock::ui
