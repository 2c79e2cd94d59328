#include "ui/qt/tree_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace brannock::ui {

namespace {

// A small cube: the object class (and application ID) emblem.
void DrawObject(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height(), d = w * 0.3;
  const QPointF o = r.topLeft();
  QPolygonF front{{o.x(), o.y() + d}, {o.x() + w - d, o.y() + d}, {o.x() + w - d, o.y() + h}, {o.x(), o.y() + h}};
  QPolygonF top{{o.x(), o.y() + d}, {o.x() + d, o.y()}, {o.x() + w, o.y()}, {o.x() + w - d, o.y() + d}};
  QPolygonF side{{o.x() + w - d, o.y() + d}, {o.x() + w, o.y()}, {o.x() + w, o.y() + h - d}, {o.x() + w - d, o.y() + h}};
  p.setPen(QPen(QColor(40, 60, 120), 1));
  p.setBrush(QColor(90, 140, 220));
  p.drawPolygon(front);
  p.setBrush(QColor(160, 195, 245));
  p.drawPolygon(top);
  p.setBrush(QColor(60, 100, 180));
  p.drawPolygon(side);
}

// A closed book: the type library emblem.
void DrawTypeLibrary(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(90, 30, 20), 1));
  p.setBrush(QColor(190, 60, 40));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 245, 225));
  p.drawRect(QRectF(r.left() + r.width() * 0.25, r.bottom() - r.height() * 0.25, r.width() * 0.7, r.height() * 0.15));
  p.setPen(QPen(QColor(250, 220, 120), 1));
  p.drawLine(QPointF(r.left() + r.width() * 0.2, r.top() + 1), QPointF(r.left() + r.width() * 0.2, r.bottom() - 1));
}

// A lollipop: the interface emblem.
void DrawInterface(QPainter& p, const QRectF& r) {
  const qreal d = r.width() * 0.55;
  p.setPen(QPen(QColor(20, 100, 40), 2));
  p.drawLine(QPointF(r.left() + d / 2, r.top() + d), QPointF(r.left() + d / 2, r.bottom()));
  p.setPen(QPen(QColor(20, 100, 40), 1));
  p.setBrush(QColor(80, 200, 100));
  p.drawEllipse(QRectF(r.left(), r.top(), d, d));
}

void DrawEmblem(QPainter& p, ObjectEmblem e, const QRectF& r) {
  switch (e) {
    case ObjectEmblem::Object: DrawObject(p, r); break;
    case ObjectEmblem::TypeLibrary: DrawTypeLibrary(p, r); break;
    case ObjectEmblem::Interface: DrawInterface(p, r); break;
  }
}

void DrawFolder(QPainter& p) {
  const QPainterPath path = FolderOutline(QRectF(QPointF(0.5, 3.5), QPointF(14.5, 13.5)));
  p.setPen(QPen(QColor(150, 110, 20), 1));
  p.setBrush(QColor(245, 205, 90));
  p.drawPath(path);
  p.setBrush(QColor(252, 225, 130));
  p.drawRect(QRectF(0.5, 6.5, 14, 7));
}

QIcon Picture(TreeImage image) {
  QPixmap pix(16, 16);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (image.folder) {
    DrawFolder(p);
    DrawEmblem(p, image.emblem, QRectF(8, 7, 8, 9));
  } else {
    DrawEmblem(p, image.emblem, QRectF(1, 1, 14, 14));
  }
  p.end();
  return QIcon(pix);
}

}  // namespace

const std::array<QIcon, kTreeImageCount>& TreeImages() {
  static const std::array<QIcon, kTreeImageCount> images = [] {
    std::array<QIcon, kTreeImageCount> a;
    for (int i = 0; i < kTreeImageCount; ++i) a[static_cast<size_t>(i)] = Picture(TreeImageOf(i));
    return a;
  }();
  return images;
}

QPainterPath FolderOutline(const QRectF& box) {
  // The tab takes the left five fourteenths and a fifth of the height.
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

}  // namespace brannock::ui
