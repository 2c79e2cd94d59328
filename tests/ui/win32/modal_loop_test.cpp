// The end of a modal loop: the owner is enabled before the modal window is
// destroyed, also when the loop's filter raises (main_window_focus_test.cpp
// checks the viewer and the About dialog). Wine without a window manager
// may give the activation back either way, so the order of the two calls
// is what is checked, from a log of the messages they send.
#include <stdexcept>

#include "message_log.h"
#include "ui/win32/modal_loop.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

// A modal window of the owned windows' kind: WM_CLOSE ends its loop.
LRESULT CALLBACK ClosingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    EndModal(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND TopWindow(HWND owner) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ClosingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrannockModalTest";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, L"BrannockModalTest", L"", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// The owner stays hidden: under Wine without a window manager each shown
// window takes two seconds to go.
TEST(Win32ModalLoop, TheOwnerIsEnabledBeforeTheWindowGoesAlsoWhenTheFilterRaises) {
  const HWND owner = TopWindow(nullptr);
  {
    MessageLog log;
    const HWND modal = TopWindow(owner);
    PostMessageW(modal, WM_APP, 0, 0);
    EXPECT_THROW(RunModal(owner, modal,
                          [](MSG& msg) {
                            if (msg.message == WM_APP) throw std::runtime_error("from the filter");
                            return false;
                          }),
                 std::runtime_error);
    EXPECT_FALSE(IsWindow(modal));
    EXPECT_TRUE(IsWindowEnabled(owner));
    const auto disabled = log.First(owner, WM_ENABLE, FALSE), enabled = log.First(owner, WM_ENABLE, TRUE),
               destroyed = log.First(modal, WM_DESTROY);
    ASSERT_TRUE(disabled && enabled && destroyed);
    EXPECT_LT(*disabled, *enabled);
    EXPECT_LT(*enabled, *destroyed);
  }
  // Without a loop, the end is the window's destruction.
  const HWND alone = TopWindow(owner);
  EndModal(alone);
  EXPECT_FALSE(IsWindow(alone));
  DestroyWindow(owner);
}

}  // namespace
}  // namespace brannock::ui::testing
