// The Qt side of the busy state whose order ui/logic/busy_scope.h defines:
// the application's override cursor, a status bar label and a window to
// repaint.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "ui/logic/busy_scope.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

class QtBusyDisplay : public BusyDisplay {
 public:
  // `status` and `window` may be null when only the cursor changes.
  QtBusyDisplay(QWidget* window, QLabel* status) : window_(window), status_(status) {}
  void SetWaitCursor(bool wait) override {
    if (wait)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  }
  void SetStatusText(TextView text) override {
    if (status_) status_->setText(ToQt(text));
  }
  void Repaint() override {
    if (window_) window_->repaint();
  }

 private:
  QWidget* window_;
  QLabel* status_;
};

}  // namespace brannock::ui
