#include "ui/qt/viewer_print.h"

#include <Qsci/qsciprinter.h>

#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <vector>

#include "common/error.h"
#include "ui/logic/idl_tokens.h"
#include "ui/logic/print_layout.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

QColor ColourOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Draws `text` from character column `column` on, tabs expanded; returns
// the column after it.
int DrawColumns(QPainter& painter, const QString& text, int column, int left, int baseline, int charWidth) {
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != QLatin1Char('\t')) continue;
    const QString piece = text.mid(start, i - start);
    painter.drawText(left + column * charWidth, baseline, piece);
    column += static_cast<int>(piece.size());
    if (i < text.size()) column = (column / kPrintTabWidth + 1) * kPrintTabWidth;
    start = i + 1;
  }
  return column;
}

}  // namespace

void PaintViewerText(const QString& text, QsciPrinter& printer, QPainter& painter, TUnitLanguage language) {
  QPaintDevice* device = painter.device();
  QFont font(ToQt(kPrintFontName), kPrintFontPoints);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  QFont bold = font;
  bold.setBold(true);
  const QFontMetrics metrics(font, device);
  const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));

  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines)
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  const TPrintPageLayout layout = LayoutPrintPages(
      {device->width(), device->height(), device->logicalDpiX(), device->logicalDpiY()}, metrics.height(),
      lines.size());

  TUnitLineState state;
  std::vector<TTokenRun> runs;
  for (int32_t page = 0; page < layout.PageCount; ++page) {
    if (page > 0 && painter.device() == &printer && !printer.newPage())
      throw Error(u"The printer could not print the text");
    painter.fillRect(0, 0, device->width(), device->height(), Qt::white);
    painter.setClipRect(0, 0, layout.BodyRight, device->height());
    for (int64_t line = layout.FirstLine(page); line < layout.EndLine(page); ++line) {
      const int top = layout.LineTop(line);
      const int baseline = top + metrics.ascent();
      painter.setFont(font);
      painter.setPen(Qt::black);
      painter.drawText(QRect(0, top, layout.NumberRight, layout.LineHeight), Qt::AlignRight | Qt::AlignVCenter,
                       ToQt(PrintLineNumberText(line)));
      const QString& lineText = lines[static_cast<qsizetype>(line)];
      const Text line16 = FromQt(lineText);
      state = TokenizeUnitLine(language, line16, state, &runs);
      int column = 0;
      for (const TTokenRun& run : runs) {
        const TTokenStyle style = PascalTokenStyle(run.Token);
        painter.setFont(style.Bold ? bold : font);
        painter.setPen(ColourOf(style.Colour));
        column = DrawColumns(painter, lineText.mid(run.Start, run.Length), column, layout.BodyLeft, baseline,
                             charWidth);
      }
    }
    painter.setClipping(false);
  }
}

void PrintViewerText(const QString& text, QsciPrinter& printer, const QString& jobTitle, TUnitLanguage language) {
  printer.setDocName(jobTitle);
  // The page is painted whole from the paper's top left corner; the
  // printer is told the layout's margins as well, for its own dialogs.
  printer.setPageMargins(QMarginsF(kPrintMarginLeftMm, kPrintMarginTopMm, kPrintMarginRightMm, kPrintMarginBottomMm),
                         QPageLayout::Millimeter);
  printer.setFullPage(true);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setCopyCount(1);
  QPainter painter;
  if (!painter.begin(&printer)) throw Error(u"The printer could not print the text");
  PaintViewerText(text, printer, painter, language);
  painter.end();
}

}  // namespace brannock::ui
