// Going to a node of a tree view, the same for every tree of the front end
// (type-ahead, Find, the check's findings, the viewer's type tree).
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace brannock::ui {

// `item` selected (which shows its pane) and scrolled into view. Showing a
// long name scrolls the tree sideways; it stays at its left edge, where the
// nodes' levels are seen (the thumb set to 0: Wine's tree view ignores
// SB_LEFT).
inline void SelectAndShow(HWND tree, HTREEITEM item) {
  TreeView_SelectItem(tree, item);
  TreeView_EnsureVisible(tree, item);
  SendMessageW(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
}

}  // namespace brannock::ui
