#include "ui/win32/splitter.h"

#include <windowsx.h>

#include <memory>

#include "ui/win32/window_class.h"

namespace brannock::ui {

namespace {

struct Drag {
  std::function<void(int left)> moved;
  int grab = 0;  // where the bar was pressed, from its left edge
  bool active = false;
};

LRESULT CALLBACK SplitterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The window owns its drag state from here on.
    auto* owned = static_cast<std::unique_ptr<Drag>*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned->release()));
  }
  auto* drag = reinterpret_cast<Drag*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!drag) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      drag->grab = GET_X_LPARAM(lParam);
      drag->active = true;
      SetCapture(window);
      return 0;
    case WM_MOUSEMOVE:
      if (drag->active && drag->moved) {
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(window, GetParent(window), &at, 1);
        drag->moved(at.x - drag->grab);
      }
      return 0;
    case WM_LBUTTONUP:
      if (drag->active) {
        drag->active = false;
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      drag->active = false;
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete drag;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateSplitter(HWND parent, int id, std::function<void(int left)> moved) {
  RegisterWindowClass(
      {.name = kSplitterClass, .procedure = SplitterProc, .cursor = IDC_SIZEWE, .faceBackground = true});
  auto drag = std::make_unique<Drag>(Drag{std::move(moved)});
  return CreateWindowExW(0, kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), &drag);
}

}  // namespace brannock::ui
