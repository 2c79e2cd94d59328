#include "ui/qt/program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace brannock::ui {

namespace {

// The outline of a folder with its tab at the top left, filling `box`: the
// tab takes the left five fourteenths and a fifth of the height.
QPainterPath FolderOutline(const QRectF& box) {
  const qreal w = box.width(), h = box.height();
  QPainterPath path;
  path.moveTo(box.left(), box.top());
  path.lineTo(box.left() + w * 5 / 14, box.top());
  path.lineTo(box.left() + w * 7 / 14, box.top() + h / 5);
  path.lineTo(box.right(), box.top() + h / 5);
  path.lineTo(box.right(), box.bottom());
  path.lineTo(box.left(), box.bottom());
  path.closeSubpath();
  return path;
}

// The shapes are laid out on a 256 by 256 grid and scaled.
constexpr qreal kGrid = 256;

void PaintObject(QPainter& p, qreal top, const QColor& fill) {
  p.setPen(QPen(QColor("#123761"), 4));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(108, top, 116, 46), 10, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor("#1d4e89"));
  p.drawEllipse(QPointF(134, top + 23), 12, 12);
}

}  // namespace

QImage PaintProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kGrid, size / kGrid);

  // The tile.
  QLinearGradient blue(0, 8, 0, 248);
  blue.setColorAt(0, QColor("#3a7bc8"));
  blue.setColorAt(1, QColor("#1d4e89"));
  p.setPen(QPen(QColor("#123761"), 8));
  p.setBrush(blue);
  p.drawRoundedRect(QRectF(12, 12, 232, 232), 40, 40);

  // The branches from the folder to the objects.
  p.setPen(QPen(Qt::white, 20, Qt::SolidLine, Qt::SquareCap));
  p.drawLine(QPointF(66, 100), QPointF(66, 203));
  p.drawLine(QPointF(66, 145), QPointF(108, 145));
  p.drawLine(QPointF(66, 203), QPointF(108, 203));

  // The folder: the root of the tree.
  const QPainterPath folder = FolderOutline(QRectF(QPointF(34, 36), QPointF(140, 106)));
  p.setPen(QPen(QColor("#8a6410"), 6, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
  p.setBrush(QColor("#f5c542"));
  p.drawPath(folder);

  // Two objects of the tree.
  PaintObject(p, 122, Qt::white);
  PaintObject(p, 180, QColor("#9be08f"));
  p.end();
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 128, 256}) icon.addPixmap(QPixmap::fromImage(PaintProgramIcon(size)));
  return icon;
}

}  // namespace brannock::ui
