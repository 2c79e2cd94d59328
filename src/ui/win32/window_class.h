// The window classes of the Win32 front end, each registered through one
// function, and the window procedure that hands a window's messages to the
// object that owns it.
#pragma once

#include <windows.h>

namespace brannock::ui {

struct WindowClass {
  const wchar_t* name = nullptr;
  // A window that takes its object's procedure once created (HandOver)
  // keeps the default one here.
  WNDPROC procedure = DefWindowProcW;
  const wchar_t* cursor = IDC_ARROW;  // a system cursor
  UINT style = 0;
  // In the dialog face colour; else the window paints all of itself.
  bool faceBackground = false;
  // The program's icon (its resource 1, else Windows' application icon).
  bool programIcon = false;
};

// Registers `cls` for the program's module; nothing when a class of that
// name already is.
void RegisterWindowClass(const WindowClass& cls);

// A visible child control of `parent` with the control id `id`, at no
// size yet (the window's layout places it).
HWND CreateChildControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id);

// The procedure of a window whose user data holds its owner: each message
// goes to the owner's `handle`, and to the default procedure while there
// is no owner.
template <class Window, LRESULT (Window::*handle)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* owner = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!owner) return DefWindowProcW(window, message, wParam, lParam);
  return (owner->*handle)(message, wParam, lParam);
}

// From here on `window`'s messages go to `owner`'s `handle`.
template <class Window, LRESULT (Window::*handle)(UINT, WPARAM, LPARAM)>
void HandOver(HWND window, Window* owner) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerWindowProc<Window, handle>));
}

}  // namespace brannock::ui
