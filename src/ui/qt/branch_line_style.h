// The look of the detail pane's registry tree: lines that connect the
// levels, and no expand or collapse buttons (its lines are always expanded).
#pragma once

#include <QProxyStyle>

namespace brannock::ui {

class BranchLineStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace brannock::ui
