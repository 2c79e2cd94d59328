// Tab and Shift+Tab between the controls of a window that is not a dialog,
// as a dialog moves: to the next (previous) visible, enabled control with
// WS_TABSTOP, in the order of the window's children, round at the end. The
// other keys stay the controls' own (arrows and type-ahead of a tree, Enter
// and Esc), which IsDialogMessage would take over in such a window.
#pragma once

#include <windows.h>

namespace brannock::ui {

// A key down of Tab in `window`: moves the focus and returns true, unless
// the focused control takes Tab itself (DLGC_WANTTAB, the viewer's text),
// where Ctrl+Tab moves on instead. False for any other message.
bool MoveFocusByTab(HWND window, const MSG& msg);

}  // namespace brannock::ui
