#include "ui/win32/window_class.h"

namespace brannock::ui {

void RegisterWindowClass(const WindowClass& cls) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(module, cls.name, &wc)) return;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.style = cls.style;
  wc.lpfnWndProc = cls.procedure;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, cls.cursor);
  if (cls.faceBackground) wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (cls.programIcon) {
    wc.hIcon = LoadIconW(module, MAKEINTRESOURCEW(1));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  }
  wc.lpszClassName = cls.name;
  RegisterClassExW(&wc);
}

HWND CreateChildControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace brannock::ui
