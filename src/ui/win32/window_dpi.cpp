#include "ui/win32/window_dpi.h"

#include <algorithm>

namespace brannock::ui {

namespace {

// A function of user32 that older systems lack, looked up once.
template <class Function>
Function User32(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using DpiForSystem = UINT(WINAPI*)();
using DpiForWindow = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

UINT SystemDpi() {
  static const DpiForSystem forSystem = User32<DpiForSystem>("GetDpiForSystem");
  if (forSystem) return forSystem();
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT WindowDpi(HWND window) {
  static const DpiForWindow forWindow = User32<DpiForWindow>("GetDpiForWindow");
  if (forWindow && window) {
    const UINT dpi = forWindow(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}

SIZE WindowSizeFor(int clientWidth, int clientHeight, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  static const AdjustForDpi adjust = User32<AdjustForDpi>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, clientWidth, clientHeight};
  if (!adjust || !adjust(&frame, style, menu, exStyle, dpi)) AdjustWindowRectEx(&frame, style, menu, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void MoveToSuggested(HWND window, const RECT& suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int WidestText(HWND window, HFONT font, std::initializer_list<std::wstring_view> texts) {
  const HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  int widest = 0;
  for (const std::wstring_view text : texts) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    widest = std::max(widest, static_cast<int>(r.right - r.left));
  }
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return widest;
}

}  // namespace brannock::ui
