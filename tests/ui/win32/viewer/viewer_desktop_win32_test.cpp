// The viewer as a window on the desktop: minimized and restored (the
// client area of a minimized window is empty), the tree keeps the width it
// had, with the status bar's first panel as wide as it; Tab goes from the
// tree to the text, which takes Tab itself, and Ctrl+Tab back. One window
// for all: under Wine without a window manager each shown window takes two
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
  EXPECT_TRUE(boxes.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
