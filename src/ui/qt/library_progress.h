// The small window shown while the registered type libraries are read for
// the References page: "Reading type libraries: 41 of 213" over a bar, and
// Cancel (or Esc, or its close box), which stops the reading after the
// library being read. It blocks the other windows while it is up: the
// reading hands the events on between two libraries, and a click in the
// object tree must not start another reading inside this one.
#pragma once

#include <QDialog>

#include "ui/logic/references_tab.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace brannock::ui {

class LibraryProgressWindow : public QDialog, public LibraryProgress {
 public:
  explicit LibraryProgressWindow(QWidget* owner);

  QLabel* Status = nullptr;
  QProgressBar* Bar = nullptr;
  QPushButton* bCancel = nullptr;

  // LibraryProgress: shown, with the text and the count, and the events
  // handled.
  void Progress(TextView text, size_t done, size_t total) override;
  bool Cancelled() override { return cancelled_; }

 protected:
  void reject() override;

 private:
  bool cancelled_ = false;
};

}  // namespace brannock::ui
