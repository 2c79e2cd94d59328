// The bar between two side-by-side panes that the user drags sideways (the
// main window's tree and pane, the viewer's tree and text): a child window
// of its own class with the sizing cursor, so that only a press on the bar
// starts a drag. While the left button holds it, the bar has the mouse
// captured and tells `moved` its new left edge, in the parent's client
// coordinates, at each move; the parent keeps the width and places the bar
// in its layout like any control. Releasing the button ends the drag, and
// so does losing the capture to another window (WM_CAPTURECHANGED).
#pragma once

#include <windows.h>

#include <functional>

namespace brannock::ui {

inline constexpr wchar_t kSplitterClass[] = L"BrannockSplitter";

HWND CreateSplitter(HWND parent, int id, std::function<void(int left)> moved);

}  // namespace brannock::ui
