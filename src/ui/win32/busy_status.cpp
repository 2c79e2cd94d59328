#include "ui/win32/busy_status.h"

namespace brannock::ui {

void MainWindowBusyDisplay::SetWaitCursor(bool wait) {
  if (wait) {
    previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return;
  }
  SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW));
}

void MainWindowBusyDisplay::SetStatusText(TextView text) { window_.SetStatusText(text); }

void MainWindowBusyDisplay::Repaint() { window_.RepaintNow(); }

}  // namespace brannock::ui
