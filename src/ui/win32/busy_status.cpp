#include "ui/win32/busy_status.h"

namespace brannock::ui {

void Win32BusyDisplay::SetWaitCursor(bool wait) {
  if (wait) {
    previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return;
  }
  SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace brannock::ui
