// A batch update of a tree: no repaint until it ends, also on failure.
#pragma once

#include <QWidget>

namespace brannock::ui {

class BatchUpdate {
 public:
  explicit BatchUpdate(QWidget* w) : w_(w) { w_->setUpdatesEnabled(false); }
  ~BatchUpdate() { w_->setUpdatesEnabled(true); }
  BatchUpdate(const BatchUpdate&) = delete;
  BatchUpdate& operator=(const BatchUpdate&) = delete;

 private:
  QWidget* w_;
};

}  // namespace brannock::ui
