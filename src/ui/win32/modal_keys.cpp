#include "ui/win32/modal_keys.h"

namespace brannock::ui {

void RunModalWithKeys(HWND owner, HWND window, const std::function<bool(MSG&)>& filter) {
  const bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (filter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (ownerEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (IsWindow(window)) DestroyWindow(window);
}

}  // namespace brannock::ui
