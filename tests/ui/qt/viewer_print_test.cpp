#include "ui/qt/viewer_print.h"

#include <Qsci/qsciprinter.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace brannock::ui {
namespace {

// How many pixels of the image come near `colour`.
int CountNear(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) < 60 && std::abs(c.green() - colour.green()) < 60 &&
          std::abs(c.blue() - colour.blue()) < 60)
        ++count;
    }
  return count;
}

TEST(ViewerPrint, PageIsColouredOnWhiteWithLineNumbers) {
  QsciPrinter printer(QPrinter::ScreenResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageMargins(QMarginsF(25, 25, 15, 25), QPageLayout::Millimeter);
  QImage page(printer.width(), printer.height(), QImage::Format_RGB32);
  page.fill(Qt::gray);
  QPainter painter(&page);
  PaintViewerText(QStringLiteral("// a comment line\nconst\n  Big = 305419896;\n  Name = 'text';\n\tx;"), printer,
                  painter);
  painter.end();

  // The lines are printed on white (right of their text as well), with
  // green, blue and red text on it.
  EXPECT_EQ(page.pixelColor(page.width() / 2, 3), QColor(Qt::white));
  EXPECT_GT(CountNear(page, QColor(0, 128, 0)), 10);
  EXPECT_GT(CountNear(page, QColor(0, 0, 255)), 10);
  EXPECT_GT(CountNear(page, QColor(255, 0, 0)), 10);

  // Line numbers stand at the left, in front of the text: the first
  // column of ink lies left of where the code of the first line begins
  // and below the first line's top.
  int firstInkX = page.width();
  for (int x = 0; x < page.width() && firstInkX == page.width(); ++x)
    for (int y = 0; y < page.height(); ++y)
      if (page.pixelColor(x, y).lightness() < 128) {
        firstInkX = x;
        break;
      }
  const int greenX = [&] {
    for (int x = 0; x < page.width(); ++x)
      for (int y = 0; y < page.height() / 4; ++y)
        if (std::abs(page.pixelColor(x, y).green() - 128) < 40 && page.pixelColor(x, y).red() < 60) return x;
    return -1;
  }();
  EXPECT_GE(greenX, 0);
  EXPECT_LT(firstInkX, greenX - 10);
}

}  // namespace
}  // namespace brannock::ui
