#include "ui/win32/busy_status.h"

#include "ui/logic/main_window_text.h"

namespace brannock::ui {

BusyStatus::BusyStatus(TfrmMain& window, bool hourglass) : window_(window), hourglass_(hourglass) {
  if (hourglass_) previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  window_.SetStatusText(kWorkingText);
  window_.RepaintNow();
}

BusyStatus::~BusyStatus() {
  if (hourglass_) SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW));
  window_.SetStatusText(kIdleText);
}

}  // namespace brannock::ui
