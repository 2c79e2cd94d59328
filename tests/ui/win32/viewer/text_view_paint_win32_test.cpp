// The text view paints only what changed: pixels that stay in view are
// moved by the window, and only the lines of the caret and the selection
// are drawn again. After every step the window must look exactly as a full
// repaint draws it, and the scroll bars must show the view's position.
#include <cstdint>
#include <vector>

#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

// The client area of `window` as it is on the screen, one value a pixel.
std::vector<uint32_t> Pixels(HWND window) {
  RECT rc;
  GetClientRect(window, &rc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = rc.right;
  info.bmiHeader.biHeight = -rc.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC screen = GetDC(window);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, rc.right, rc.bottom, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(first, first + static_cast<size_t>(rc.right) * rc.bottom);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(window, screen);
  return pixels;
}

size_t Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return SIZE_MAX;
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST(Win32TextView, PartialRepaintsLookLikeAFullRepaint) {
  BoxCapture boxes;
  const auto view = OpenView(Mshtml());
  ASSERT_TRUE(view);
  ShowWindow(view->Handle(), SW_SHOW);
  SetForegroundWindow(view->Handle());
  UpdateWindow(view->Handle());
  Pump();
  TTextView& text = *view->SynMemo;
  const HWND memo = text.Handle();

  const auto check = [&](const char* step) {
    // No blinking caret in the pictures: the focus goes to the tree.
    SetFocus(view->Tree);
    Pump();
    UpdateWindow(memo);
    const std::vector<uint32_t> partial = Pixels(memo);
    InvalidateRect(memo, nullptr, FALSE);
    UpdateWindow(memo);
    EXPECT_EQ(Differing(partial, Pixels(memo)), 0u) << step;
    SCROLLINFO si = {sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(memo, SB_VERT, &si);
    EXPECT_EQ(si.nPos, text.FirstVisibleLine()) << step;
  };

  check("opened");
  SendMessageW(memo, WM_VSCROLL, SB_LINEDOWN, 0);
  SendMessageW(memo, WM_VSCROLL, SB_LINEDOWN, 0);
  check("two lines down");
  SendMessageW(memo, WM_VSCROLL, SB_LINEUP, 0);
  check("one line up");
  SendMessageW(memo, WM_VSCROLL, SB_PAGEDOWN, 0);
  check("a page down");
  SendMessageW(memo, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  check("the wheel");
  // The caret line moves (the yellow line goes with it), also scrolling
  // the view when the caret leaves it.
  text.SelectRange({text.FirstVisibleLine() + 3, 0}, {text.FirstVisibleLine() + 3, 0});
  SendMessageW(memo, WM_KEYDOWN, VK_DOWN, 0);
  check("caret one line down");
  for (int64_t i = 0; i < text.VisibleLines(); ++i) SendMessageW(memo, WM_KEYDOWN, VK_DOWN, 0);
  check("caret below the view");
  SendMessageW(memo, WM_KEYDOWN, VK_UP, 0);
  check("caret one line up");
  // Selections over several lines, then a smaller one.
  const int64_t top = text.FirstVisibleLine();
  text.SelectRange({top + 2, 4}, {top + 9, 3});
  check("selection over lines");
  text.SelectRange({top + 5, 1}, {top + 5, 6});
  check("smaller selection");
  // A jump to the last type: the marked character and a far view.
  HTREEITEM last = nullptr;
  for (HTREEITEM category : Children(view->Tree, Children(view->Tree, nullptr)[0])) {
    TreeView_Expand(view->Tree, category, TVE_EXPAND);
    const std::vector<HTREEITEM> types = Children(view->Tree, category);
    if (!types.empty()) last = types.back();
  }
  ASSERT_TRUE(last);
  TreeView_SelectItem(view->Tree, last);
  view->TreeDblClick();
  ASSERT_TRUE(text.Marked());
  check("jump to the last type");
  SendMessageW(memo, WM_VSCROLL, SB_LINEUP, 0);
  check("one line up after the jump");
  // Sideways, and an edit.
  SendMessageW(memo, WM_HSCROLL, SB_LINEDOWN, 0);
  check("one column right");
  SendMessageW(memo, WM_CHAR, L'{', 0);
  check("typed an opening brace");
  SendMessageW(memo, WM_KEYDOWN, 'Z', 0);  // without Ctrl: nothing
  SendMessageW(memo, WM_UNDO, 0, 0);
  check("undone");
}

}  // namespace
}  // namespace brannock::ui::testing
