#include "ui/win32/tab_keys.h"

namespace brannock::ui {

bool MoveFocusByTab(HWND window, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !window) return false;
  const HWND focus = GetFocus();
  if (!focus || (focus != window && !IsChild(window, focus))) return false;
  if (GetKeyState(VK_MENU) < 0) return false;
  if (focus != window && GetKeyState(VK_CONTROL) >= 0) {
    MSG asked = msg;
    if (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&asked)) & DLGC_WANTTAB) return false;
  }
  // The window's own child that holds the focus (a control of a control
  // counts as that control).
  HWND from = focus;
  while (from != window && GetParent(from) != window) from = GetParent(from);
  const HWND next = GetNextDlgTabItem(window, from == window ? nullptr : from, GetKeyState(VK_SHIFT) < 0);
  if (next) SetFocus(next);
  return true;
}

}  // namespace brannock::ui
