// The viewer as a window on the desktop: minimized and restored (the
// client area of a minimized window is empty), the tree keeps the width it
// had, with the status bar's first panel as wide as it; Tab goes from the
// tree to the text, which takes Tab itself, and Ctrl+Tab back; a type
// whose name is wider than the tree is gone to and shown with the tree at
// its left edge. One window for all: under Wine without a window manager each shown window takes two
// seconds to go.
#include "../key_press.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

int ShownWidth(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return r.right - r.left;
}

int FirstPanelWidth(HWND statusBar) {
  RECT part{};
  SendMessageW(statusBar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
  return part.right - part.left;
}

TEST(Win32Viewer, MinimizeAndTabInTheShownWindow) {
  BoxCapture boxes;
  const auto view = OpenView(Fixture("minimal"));
  ASSERT_TRUE(view);
  ShowWindow(view->Handle(), SW_SHOWNORMAL);
  Pump();
  const int width = ShownWidth(view->Tree);
  EXPECT_EQ(width, view->TreeWidth());
  EXPECT_NEAR(FirstPanelWidth(view->sb), width, 2);
  ShowWindow(view->Handle(), SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(IsIconic(view->Handle()));
  ShowWindow(view->Handle(), SW_RESTORE);
  Pump();
  EXPECT_EQ(view->TreeWidth(), width);
  EXPECT_EQ(ShownWidth(view->Tree), width);
  EXPECT_NEAR(FirstPanelWidth(view->sb), width, 2);

  SetFocus(view->Tree);
  EXPECT_TRUE(PressKey(*view, VK_TAB));
  EXPECT_EQ(GetFocus(), view->SynMemo->Handle());
  const int64_t length = SendMessageW(view->SynMemo->Handle(), WM_GETTEXTLENGTH, 0, 0);
  EXPECT_FALSE(PressKey(*view, VK_TAB));
  EXPECT_EQ(GetFocus(), view->SynMemo->Handle());
  EXPECT_EQ(SendMessageW(view->SynMemo->Handle(), WM_GETTEXTLENGTH, 0, 0), length + 1) << "Tab typed into the text";
  EXPECT_TRUE(PressKey(*view, VK_TAB, {VK_CONTROL}));
  EXPECT_EQ(GetFocus(), view->Tree);

  // The tree narrower than the type's name, which is typed and then
  // double-clicked (the text goes to its declaration and takes the focus).
  EXPECT_EQ(GetScrollPos(view->Tree, SB_HORZ), 0) << "the shown tree starts scrolled sideways";
  RECT tree;
  GetWindowRect(view->Tree, &tree);
  MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&tree), 2);
  SetWindowPos(view->Tree, nullptr, 0, 0, GetSystemMetrics(SM_CXVSCROLL) * 3, tree.bottom - tree.top,
               SWP_NOMOVE | SWP_NOZORDER);
  TreeView_SelectItem(view->Tree, Children(view->Tree, nullptr).at(0));
  int64_t time = static_cast<int64_t>(GetTickCount64()) - 60000;
  for (wchar_t c : std::wstring(L"typedef enum Answer")) view->TreeTypeAhead(c, time += 10);
  const TTypeNode* node = view->NodeOf(TreeView_GetSelection(view->Tree));
  ASSERT_TRUE(node);
  EXPECT_EQ(node->Name, u"Answer");
  view->TreeDblClick();
  Pump();
  SCROLLINFO scroll{sizeof scroll, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(view->Tree, SB_HORZ, &scroll));
  EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage)) << "the name fits the narrowed tree";
  EXPECT_EQ(scroll.nPos, 0) << "the tree was scrolled sideways to the name";
  EXPECT_EQ(GetScrollPos(view->Tree, SB_HORZ), 0);
  SetFocus(view->Tree);
  Pump();
  EXPECT_EQ(GetScrollPos(view->Tree, SB_HORZ), 0) << "the focus scrolled the tree sideways";
  EXPECT_TRUE(boxes.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
