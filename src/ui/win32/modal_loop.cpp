#include "ui/win32/modal_loop.h"

namespace brannock::ui {

namespace {

// A window property while its loop runs: kRunning, then kEnding once
// EndModal asked for the end.
constexpr wchar_t kModalState[] = L"BrannockModalState";
const HANDLE kRunning = reinterpret_cast<HANDLE>(1);
const HANDLE kEnding = reinterpret_cast<HANDLE>(2);

// The end of a loop, however it ends: the owner enabled first, then the
// window gone.
class ModalEnd {
 public:
  ModalEnd(HWND owner, HWND window) : owner_(owner), window_(window) {}
  ~ModalEnd() {
    if (owner_) EnableWindow(owner_, TRUE);
    if (!IsWindow(window_)) return;
    RemovePropW(window_, kModalState);
    DestroyWindow(window_);
  }
  ModalEnd(const ModalEnd&) = delete;
  ModalEnd& operator=(const ModalEnd&) = delete;

 private:
  HWND owner_;
  HWND window_;
};

}  // namespace

void RunModal(HWND owner, HWND window, const std::function<bool(MSG&)>& filter) {
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  const ModalEnd end(ownerWasEnabled ? owner : nullptr, window);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  SetPropW(window, kModalState, kRunning);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (IsWindow(window) && GetPropW(window, kModalState) != kEnding) {
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
}

void EndModal(HWND window) {
  if (!IsWindow(window)) return;
  if (GetPropW(window, kModalState) == kRunning) {
    SetPropW(window, kModalState, kEnding);
    PostMessageW(window, WM_NULL, 0, 0);  // wakes the loop
    return;
  }
  DestroyWindow(window);
}

}  // namespace brannock::ui
