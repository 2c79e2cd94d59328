#include "ui/win32/library_progress_window.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/win32/wide_text.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_font.h"

namespace brannock::ui {

namespace {

// The 96-dpi design.
constexpr int kProgressWidth = 360, kProgressHeight = 96;
constexpr int kProgressMargin = 10, kProgressLineHeight = 16, kProgressBarHeight = 16, kProgressButtonWidth = 75, kProgressButtonHeight = 23;

class ProgressWindow : public LibraryProgress {
 public:
  explicit ProgressWindow(HWND owner) : owner_(owner) {
    RegisterWindowClass({.name = kLibraryProgressClass, .faceBackground = true});
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    const UINT dpi = owner ? WindowDpi(owner) : SystemDpi();
    const auto S = [dpi](int length) { return Scaled(length, dpi); };
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    const SIZE size = WindowSizeFor(S(kProgressWidth), S(kProgressHeight), style, false, WS_EX_CONTROLPARENT, dpi);
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kLibraryProgressClass,
                              platform::ToWide(kReadingLibrariesCaption).c_str(), style,
                              area.left + (area.right - area.left - size.cx) / 2,
                              area.top + (area.bottom - area.top - size.cy) / 2, size.cx, size.cy, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) throw std::runtime_error("The progress window could not be created");
    const int width = S(kProgressWidth) - 2 * S(kProgressMargin);
    text_ = Child(L"STATIC", SS_LEFT | SS_NOPREFIX, S(kProgressMargin), S(kProgressMargin), width, S(kProgressLineHeight), 100);
    bar_ = Child(PROGRESS_CLASSW, 0, S(kProgressMargin), S(kProgressMargin) + S(kProgressLineHeight) + S(4), width, S(kProgressBarHeight), 101);
    cancel_ = Child(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, S(kProgressWidth) - S(kProgressMargin) - S(kProgressButtonWidth),
                    S(kProgressHeight) - S(kProgressMargin) - S(kProgressButtonHeight), S(kProgressButtonWidth), S(kProgressButtonHeight), IDCANCEL);
    SetWindowTextW(cancel_, L"Cancel");
    font_ = CreateWindowFont(dpi);
    for (HWND control : {text_, cancel_}) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    HandOver<ProgressWindow, &ProgressWindow::HandleMessage>(window_, this);
    ownerWasEnabled_ = owner_ && IsWindowEnabled(owner_);
    if (ownerWasEnabled_) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
  }

  ~ProgressWindow() override {
    // The owner first: Windows then gives the activation back to it.
    if (ownerWasEnabled_) EnableWindow(owner_, TRUE);
    if (IsWindow(window_)) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
  }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  void Progress(TextView text, size_t done, size_t total) override {
    SetWindowTextW(text_, platform::ToWide(text).c_str());
    SendMessageW(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(done), 0);
    // What waits for the window (and the rest of the thread's windows:
    // painting; the disabled owner takes no input).
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
        cancelled_ = true;
        break;
      }
      if (IsWindow(window_) && IsDialogMessageW(window_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  bool Cancelled() override { return cancelled_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND const self = window_;
    switch (message) {
      case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) cancelled_ = true;
        return 0;
      case WM_CLOSE:
        cancelled_ = true;
        return 0;
      case WM_NCDESTROY:
        window_ = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcW(self, message, wParam, lParam);
  }

 private:
  HWND Child(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy, int id) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  }

  HWND owner_ = nullptr, window_ = nullptr, text_ = nullptr, bar_ = nullptr, cancel_ = nullptr;
  HFONT font_ = nullptr;
  bool ownerWasEnabled_ = false;
  bool cancelled_ = false;
};

}  // namespace

std::unique_ptr<LibraryProgress> OpenLibraryProgressWindow(HWND owner) {
  return std::make_unique<ProgressWindow>(owner);
}

}  // namespace brannock::ui
