#include "ui/win32/modal_loop.h"

namespace brannock::ui {

void RunModal(HWND owner, HWND window, const std::function<bool(MSG&)>& filter) {
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (got < 0) break;
    if (filter && filter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (ownerWasEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (IsWindow(window)) DestroyWindow(window);
}

WaitCursor::WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

void WaitCursor::Restore() {
  if (!active_) return;
  active_ = false;
  SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace brannock::ui
