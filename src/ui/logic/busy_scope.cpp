#include "ui/logic/busy_scope.h"

namespace brannock::ui {

BusyScope::BusyScope(BusyDisplay& display, Cursor cursor, TextView status)
    : display_(display), cursor_(cursor == Cursor::Wait), status_(!status.empty()) {
  if (cursor_) display_.SetWaitCursor(true);
  if (status_) display_.SetStatusText(status);
  if (status_) display_.Repaint();
}

void BusyScope::End() {
  if (!active_) return;
  active_ = false;
  RestoreCursor();
  if (status_) display_.SetStatusText(kReadyText);
}

void BusyScope::RestoreCursor() {
  if (!cursor_) return;
  cursor_ = false;
  display_.SetWaitCursor(false);
}

}  // namespace brannock::ui
