// "Working..." in the main window's status bar (and, when asked, the
// hourglass) while a handler works, shown at once; "Ready" and the default
// cursor again on every way out.
#pragma once

#include "ui/win32/main_window.h"

namespace brannock::ui {

class BusyStatus {
 public:
  BusyStatus(TfrmMain& window, bool hourglass);
  ~BusyStatus();
  BusyStatus(const BusyStatus&) = delete;
  BusyStatus& operator=(const BusyStatus&) = delete;

 private:
  TfrmMain& window_;
  HCURSOR previous_ = nullptr;
  bool hourglass_;
};

}  // namespace brannock::ui
