// The bar between two panes: a press on it starts a drag that reports the
// bar's new left edge in the parent's coordinates; releasing the button or
// losing the capture ends it; a press beside it is the parent's own.
#include "ui/win32/splitter.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

TEST(Win32Splitter, DragsFromThePressUntilReleaseOrCaptureLoss) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(parent);
  std::vector<int> lefts;
  HWND bar = CreateSplitter(parent, 1, [&](int left) {
    lefts.push_back(left);
    MoveWindow(GetDlgItem(parent, 1), left, 0, 4, 300, FALSE);
  });
  ASSERT_TRUE(bar);
  MoveWindow(bar, 100, 0, 4, 300, FALSE);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(bar, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_SIZEWE));

  // Pressed 2 pixels into the bar, moved by 30 and then back by 50: the
  // left edge follows the press point, the bar moving with it.
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(2, 10));
  EXPECT_EQ(GetCapture(), bar);
  SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(32, 10));
  SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(-48, 10));
  SendMessageW(bar, WM_LBUTTONUP, 0, At(-48, 10));
  EXPECT_EQ(lefts, (std::vector<int>{130, 80}));
  EXPECT_NE(GetCapture(), bar);
  SendMessageW(bar, WM_MOUSEMOVE, 0, At(20, 10));  // released: no drag
  EXPECT_EQ(lefts.size(), 2u);

  // Another window takes the capture (a box, Alt+Tab): the drag ends there.
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(1, 10));
  SetCapture(parent);
  ReleaseCapture();
  SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(41, 10));
  EXPECT_EQ(lefts.size(), 2u);

  // A press on the parent beside the bar starts nothing.
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 10));
  SendMessageW(parent, WM_MOUSEMOVE, MK_LBUTTON, At(200, 10));
  EXPECT_EQ(lefts.size(), 2u);
  DestroyWindow(parent);
}

}  // namespace
}  // namespace brannock::ui::testing
