#include "ui/qt/branch_line_style.h"

#include <QPainter>
#include <QStyleOption>

namespace brannock::ui {

void BranchLineStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  if (element != PE_IndicatorBranch) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // The branch area of one row at one level: a vertical line while more
  // siblings follow, and an elbow into the row's own item.
  const QRect r = option->rect;
  const int cx = r.left() + r.width() / 2;
  const int cy = r.top() + r.height() / 2;
  painter->save();
  QPen pen(option->palette.color(QPalette::Dark), 1, Qt::DotLine);
  painter->setPen(pen);
  if (option->state & State_Item) {
    painter->drawLine(cx, r.top(), cx, (option->state & State_Sibling) ? r.bottom() : cy);
    painter->drawLine(cx, cy, r.right(), cy);
  } else if (option->state & State_Sibling) {
    painter->drawLine(cx, r.top(), cx, r.bottom());
  }
  painter->restore();
}

}  // namespace brannock::ui
