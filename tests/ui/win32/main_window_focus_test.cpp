// The keyboard in the main window: the object tree has the focus at start;
// Tab and Shift+Tab go round the controls while the tree keeps its own
// keys; a closed viewer or About dialog, and another window that was
// active, give the focus back to the control that had it. The owner is
// enabled before the viewer and the About dialog are destroyed (Windows
// then activates it, not another program's window): Wine without a window
// manager may give the activation back either way, so the order of the two
// calls is checked from the messages they send.
#include "key_press.h"
#include "message_log.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/tlb_viewer.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

// The modal window of that class found and closed from a timer, as the
// user would close it.
const wchar_t* g_closeClass = nullptr;
void CALLBACK CloseModal(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND window = FindWindowW(g_closeClass, nullptr);
  if (!window || !IsWindowVisible(window)) return;
  KillTimer(nullptr, timer);
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(Win32MainWindow, FocusStaysOnTheControlsAndTabGoesRoundThem) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  frm.Show(SW_SHOWNORMAL);
  Pump();
  EXPECT_EQ(GetFocus(), frm.Tree);
  // The arrows are the tree's (focused, it selected its first root).
  TreeView_SelectItem(frm.Tree, frm.OCRoot);
  EXPECT_FALSE(PressKey(frm, VK_DOWN));
  EXPECT_EQ(TreeView_GetSelection(frm.Tree), frm.AIRoot);

  HTREEITEM dictionary = w.Find(TObjectType::otCLSID, u"{EE09B103-97E0-11CF-978F-00A02463E06F}");
  ASSERT_TRUE(dictionary);
  w.Select(dictionary);
  std::vector<HWND> order;
  for (HWND control : {frm.Tree, frm.eName, frm.eGUID, frm.RegTree, frm.Memo, frm.bView, frm.bCopy, frm.bReg,
                       frm.bUnreg})
    if (IsWindowVisible(control) && IsWindowEnabled(control)) order.push_back(control);
  ASSERT_GE(order.size(), 8u);
  for (size_t i = 1; i <= order.size(); ++i) {
    EXPECT_TRUE(PressKey(frm, VK_TAB));
    EXPECT_EQ(GetFocus(), order[i % order.size()]) << i;
  }
  for (size_t i = order.size(); i-- > 0;) {
    EXPECT_TRUE(PressKey(frm, VK_TAB, {VK_SHIFT}));
    EXPECT_EQ(GetFocus(), order[i]) << i;
  }

  // The registry lines have the focus when the viewer and the About dialog
  // open; each gives it back.
  SetFocus(frm.RegTree);
  struct Modal {
    const wchar_t* windowClass;
    WORD command;
  };
  for (const Modal& modal : {Modal{kViewerWindowClass, cmdView}, Modal{kAboutWindowClass, cmdAbout}}) {
    SCOPED_TRACE(Utf16ToUtf8(platform::FromWide(modal.windowClass)));
    MessageLog log;
    g_closeClass = modal.windowClass;
    SetTimer(nullptr, 0, 50, CloseModal);
    Command(frm, modal.command);
    Pump();
    EXPECT_EQ(FindWindowW(modal.windowClass, nullptr), nullptr);
    EXPECT_EQ(GetActiveWindow(), frm.Handle());
    EXPECT_EQ(GetFocus(), frm.RegTree);
    const auto disabled = log.First(frm.Handle(), WM_ENABLE, FALSE);
    const auto enabled = log.First(frm.Handle(), WM_ENABLE, TRUE);
    const auto destroyed = log.FirstOfClass(modal.windowClass, WM_DESTROY);
    ASSERT_TRUE(disabled && enabled && destroyed);
    EXPECT_LT(*disabled, *enabled);
    EXPECT_LT(*enabled, *destroyed);
  }

  // Another window was active, then this one again.
  const HWND other = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  SetActiveWindow(other);
  Pump();
  EXPECT_EQ(GetFocus(), other);
  SetActiveWindow(frm.Handle());
  Pump();
  EXPECT_EQ(GetFocus(), frm.RegTree);
  DestroyWindow(other);
  EXPECT_TRUE(captured.reports.empty());
  EXPECT_TRUE(captured.boxes.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
