// The main window's side of the busy state (ui/logic/busy_scope.h): the
// hourglass, the status bar's first panel and an immediate repaint.
#pragma once

#include "ui/logic/busy_scope.h"
#include "ui/win32/main_window.h"

namespace brannock::ui {

class MainWindowBusyDisplay : public BusyDisplay {
 public:
  explicit MainWindowBusyDisplay(TfrmMain& window) : window_(window) {}
  void SetWaitCursor(bool wait) override;
  void SetStatusText(TextView text) override;
  void Repaint() override;

 private:
  TfrmMain& window_;
  HCURSOR previous_ = nullptr;
};

}  // namespace brannock::ui
