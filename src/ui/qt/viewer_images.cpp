// Drawn in code so the program carries no image files.
#include "ui/qt/viewer_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "typelib/access.h"
#include "ui/logic/type_tree.h"

namespace brannock::ui {
namespace {

using Draw = void (*)(QPainter&);

void Ball(QPainter& p, QPointF centre, qreal radius, QColor colour) {
  QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
  shade.setColorAt(0, colour.lighter(170));
  shade.setColorAt(1, colour);
  p.setPen(QPen(colour.darker(160), 1));
  p.setBrush(shade);
  p.drawEllipse(centre, radius, radius);
}

void Diamond(QPainter& p, QPointF centre, qreal size, QColor colour) {
  const QPolygonF shape{{centre.x(), centre.y() - size},
                        {centre.x() + size, centre.y()},
                        {centre.x(), centre.y() + size},
                        {centre.x() - size, centre.y()}};
  p.setPen(QPen(colour.darker(170), 1));
  p.setBrush(colour);
  p.drawPolygon(shape);
}

void Box(QPainter& p, QRectF r, QColor fill) {
  p.setPen(QPen(fill.darker(200), 1));
  p.setBrush(fill);
  p.drawRect(r);
}

// Kind 0, enum: a list of numbered bars.
void DrawEnum(QPainter& p) {
  Box(p, {1.5, 1.5, 13, 13}, QColor(255, 250, 220));
  p.setPen(QPen(QColor(200, 120, 0), 2));
  for (int y : {5, 8, 11}) p.drawLine(QPointF(4, y), QPointF(12, y));
}

// Kind 1, record: a block of fields.
void DrawRecord(QPainter& p) {
  Box(p, {1.5, 2.5, 13, 11}, QColor(180, 210, 255));
  p.setPen(QPen(QColor(30, 60, 140), 1));
  p.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
  p.drawLine(QPointF(1.5, 10.5), QPointF(14.5, 10.5));
}

// Kind 2, module: a brick.
void DrawModule(QPainter& p) {
  Box(p, {1.5, 4.5, 13, 8}, QColor(190, 190, 190));
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.drawLine(QPointF(8, 4.5), QPointF(8, 12.5));
  p.drawLine(QPointF(1.5, 8.5), QPointF(14.5, 8.5));
}

// Kind 3, interface: the lollipop.
void DrawInterface(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.drawLine(QPointF(2, 12), QPointF(8, 6));
  Ball(p, {10.5, 5.5}, 4, QColor(80, 170, 60));
}

// Kind 4, dispinterface: the lollipop with a dispatch mark.
void DrawDispatch(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.drawLine(QPointF(2, 12), QPointF(8, 6));
  Ball(p, {10.5, 5.5}, 4, QColor(40, 110, 210));
  p.setPen(QPen(Qt::white, 1));
  p.drawLine(QPointF(8.5, 5.5), QPointF(12.5, 5.5));
}

// Kind 5, coclass: a box with a ball.
void DrawCoClass(QPainter& p) {
  Box(p, {1.5, 5.5, 10, 9}, QColor(230, 190, 120));
  Ball(p, {11, 5}, 3.5, QColor(220, 40, 40));
}

// Kind 6, alias: an arrow to a name.
void DrawAlias(QPainter& p) {
  p.setPen(QPen(QColor(120, 60, 150), 2));
  p.drawLine(QPointF(2, 8), QPointF(12, 8));
  p.drawLine(QPointF(9, 4.5), QPointF(12.5, 8));
  p.drawLine(QPointF(9, 11.5), QPointF(12.5, 8));
}

// Kind 7, union: two overlapping blocks.
void DrawUnion(QPainter& p) {
  Box(p, {1.5, 1.5, 9, 9}, QColor(255, 200, 200));
  Box(p, {5.5, 5.5, 9, 9}, QColor(200, 230, 200));
}

// Kind 11, library: three diamonds.
void DrawLibrary(QPainter& p) {
  Diamond(p, {5, 5}, 3.5, QColor(220, 50, 50));
  Diamond(p, {11, 5}, 3.5, QColor(50, 160, 60));
  Diamond(p, {8, 11}, 3.5, QColor(50, 90, 220));
}

// Kind 12, category: a yellow folder.
void DrawFolder(QPainter& p) {
  QPainterPath tab;
  tab.addRect(1.5, 3.5, 6, 2);
  p.setPen(QPen(QColor(160, 120, 0), 1));
  p.setBrush(QColor(240, 200, 60));
  p.drawPath(tab);
  p.setBrush(QColor(255, 220, 80));
  p.drawRect(QRectF(1.5, 5.5, 13, 8));
}

constexpr std::array<Draw, kViewerImageCount> kPictures = {
    DrawEnum, DrawRecord, DrawModule, DrawInterface, DrawDispatch, DrawCoClass, DrawAlias,
    DrawUnion, nullptr, nullptr, nullptr, DrawLibrary, DrawFolder,
};

static_assert(typelib::TKIND_INTERFACE == 3 && typelib::TKIND_COCLASS == 5);
static_assert(kLibraryNodeKind == 11 && kCategoryNodeKind == 12);

QIcon Picture(Draw draw) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

std::array<QIcon, kViewerImageCount> ViewerImageList() {
  std::array<QIcon, kViewerImageCount> images;
  for (size_t kind = 0; kind < images.size(); ++kind)
    if (kPictures[kind]) images[kind] = Picture(kPictures[kind]);
  return images;
}

}  // namespace brannock::ui
