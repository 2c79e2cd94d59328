// View > "Find..." and the References page of the Win32 main window under
// Wine, on the fixture prefix of scripts/wine-window-stage.sh: Ctrl+F opens
// the Find window; a ProgID, a server file's name and the first digits of
// a GUID each list the object, and Enter or a double click selects it in
// the tree with its pane. The References page of an interface lists the
// coclass of Wine's stdole2 library that implements it (read through
// oleaut32 with the progress window; Cancel stops the reading and the notes
// say so), a double click goes to that class, whose page lists the
// interface back.
#include "key_press.h"
#include "ui/win32/find_window.h"
#include "ui/win32/library_progress_window.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

constexpr char16_t kTestClass[] = u"{B4A22001-0000-4000-8000-000000000001}";  // Brannock.Test.1
constexpr char16_t kTestLibrary[] = u"{B4A22010-0000-4000-8000-000000000010}";
constexpr char16_t kFontDisp[] = u"{BEF6E003-A874-101A-8BBA-00AA00300CAB}";  // stdole2's Font
constexpr char16_t kStdFont[] = u"{0BE35203-8F91-11CE-9DE3-00AA004BB851}";

// The row of the list whose GUID column is `guid`; -1 for none.
int RowOf(HWND list, TextView guid) {
  for (int i = 0, n = ListView_GetItemCount(list); i < n; ++i)
    if (EqualsNoCase(ListText(list, i, 1), guid)) return i;
  return -1;
}

void Choose(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A double click on a row, through the thread's queue as the mouse gives it.
void DoubleClick(HWND list, int row) {
  ListView_EnsureVisible(list, row, FALSE);
  RECT at{};
  ListView_GetItemRect(list, row, &at, LVIR_LABEL);
  const LPARAM point = MAKELPARAM((at.left + at.right) / 2, (at.top + at.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  Pump();
}

TEST(Win32MainWindow, CtrlFFindsByProgIdServerFileAndGuidAndEnterSelectsWithThePane) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  frm.Show(SW_SHOW);
  Pump();
  wchar_t menuText[64] = {};
  GetMenuStringW(frm.Menu, cmdFind, menuText, 64, MF_BYCOMMAND);
  EXPECT_EQ(platform::FromWide(menuText, wcslen(menuText)), u"Find...\tCtrl+F");

  SetFocus(frm.Tree);
  EXPECT_TRUE(PressKey(frm, 'F', {VK_CONTROL}));
  FindObjectsWindow* find = frm.FindWindowShown();
  ASSERT_NE(find, nullptr);
  EXPECT_TRUE(IsWindowVisible(find->Handle()));
  EXPECT_EQ(GetFocus(), find->Edit()) << "ready to type into";
  EXPECT_EQ(WindowText(find->Count()), u"");
  // Nothing was read for the tree: its roots stay closed until a result is
  // chosen.
  EXPECT_FALSE(IsExpanded(frm.Tree, frm.OCRoot));

  // The tree narrower than the names gone to: it stays at its left edge.
  RECT tree;
  GetWindowRect(frm.Tree, &tree);
  SetWindowPos(frm.Tree, nullptr, 0, 0, GetSystemMetrics(SM_CXVSCROLL) * 3, tree.bottom - tree.top,
               SWP_NOMOVE | SWP_NOZORDER);
  struct Case {
    const char16_t* typed;
    const char16_t* guid;
    const char16_t* field;  // the start of the "Found in" column
    bool enter;             // else a double click
  };
  for (const Case& c : {Case{u"brannock.TEST.1", kTestClass, u"ProgID = Brannock.Test.1", true},
                        Case{u"brannock_test.dll", kTestClass, u"InprocServer32 = ", false},
                        Case{u"{b4a22010", kTestLibrary, u"GUID", true}}) {
    SCOPED_TRACE(Utf16ToUtf8(c.typed));
    SetWindowTextW(find->Edit(), platform::ToWide(c.typed).c_str());  // EN_CHANGE, as typing gives it
    Pump();
    const int row = RowOf(find->List(), c.guid);
    ASSERT_GE(row, 0) << "the object is listed";
    EXPECT_EQ(static_cast<size_t>(ListView_GetItemCount(find->List())), find->Rows().size());
    EXPECT_EQ(ListText(find->List(), row, 2).rfind(c.field, 0), 0u) << Utf16ToUtf8(ListText(find->List(), row, 2));
    EXPECT_EQ(WindowText(find->Count()), find->Rows().size() == 1 ? Text(u"1 object")
                                                                  : UIntToText(find->Rows().size()) + u" objects");
    if (c.enter) {
      Choose(find->List(), row);
      SetFocus(find->Edit());
      PressKey(frm, VK_RETURN);
    } else {
      DoubleClick(find->List(), row);
    }
    // Selected in the tree, its root read and opened, its pane shown.
    EXPECT_TRUE(EqualsNoCase(SelectedGuid(w), c.guid)) << Utf16ToUtf8(SelectedGuid(w));
    EXPECT_TRUE(EqualsNoCase(WindowText(frm.eGUID), c.guid));
    EXPECT_EQ(frm.StatusText(), u"Ready");
    EXPECT_TRUE(IsWindowVisible(find->Handle())) << "the Find window stays for the next search";
    SCROLLINFO scroll{sizeof scroll, SIF_ALL};
    ASSERT_TRUE(GetScrollInfo(frm.Tree, SB_HORZ, &scroll));
    EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage)) << "the names fit the narrowed tree";
    EXPECT_EQ(scroll.nPos, 0) << "the tree was scrolled sideways to the name";
  }
  EXPECT_TRUE(IsExpanded(frm.Tree, frm.OCRoot));
  EXPECT_TRUE(IsExpanded(frm.Tree, frm.TLRoot));

  // A text nothing matches; Esc hides the window, Ctrl+F shows it again with
  // its text.
  SetWindowTextW(find->Edit(), L"no object is named like this");
  Pump();
  EXPECT_EQ(ListView_GetItemCount(find->List()), 0);
  EXPECT_EQ(WindowText(find->Count()), u"No object matches.");
  SetFocus(find->Edit());
  PressKey(frm, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(find->Handle()));
  SetFocus(frm.Tree);
  PressKey(frm, 'F', {VK_CONTROL});
  EXPECT_TRUE(IsWindowVisible(find->Handle()));
  EXPECT_EQ(WindowText(find->Edit()), u"no object is named like this");
  EXPECT_TRUE(captured.reports.empty()) << Utf16ToUtf8(captured.reports.empty() ? Text() : captured.reports[0]);
}

// The tab of `page` clicked, through the thread's queue as the mouse
// gives it.
void ChoosePage(TfrmMain& frm, PanePage page) {
  for (int i = 0, n = TabCtrl_GetItemCount(frm.pc); i < n; ++i) {
    TCITEMW tab{};
    tab.mask = TCIF_PARAM;
    if (!TabCtrl_GetItem(frm.pc, i, &tab) || tab.lParam != page) continue;
    RECT at{};
    TabCtrl_GetItemRect(frm.pc, i, &at);
    const LPARAM point = MAKELPARAM((at.left + at.right) / 2, (at.top + at.bottom) / 2);
    PostMessageW(frm.pc, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(frm.pc, WM_LBUTTONUP, 0, point);
    Pump();
    EXPECT_EQ(TabCtrl_GetCurSel(frm.pc), i);
    return;
  }
  ADD_FAILURE() << "no tab of page " << page;
}

// The Cancel button of the progress window clicked as soon as it is made:
// the click waits in the queue for the window's first look at it.
HHOOK g_cancelHook = nullptr;
int g_progressWindows = 0;
LRESULT CALLBACK CancelWhenMade(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    const HWND parent = create->hwndParent;
    wchar_t cls[64] = {};
    if (parent && GetClassNameW(parent, cls, 64) && wcscmp(cls, kLibraryProgressClass) == 0 &&
        create->hMenu == reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL))) {
      ++g_progressWindows;
      PostMessageW(reinterpret_cast<HWND>(wParam), BM_CLICK, 0, 0);
    }
  }
  return CallNextHookEx(g_cancelHook, code, wParam, lParam);
}

const ReferenceRow* RowNamed(const std::vector<ReferenceRow>& rows, TextView relation, TextView guid) {
  for (const ReferenceRow& r : rows)
    if (r.relation == relation && EqualsNoCase(r.guid, guid)) return &r;
  return nullptr;
}

TEST(Win32MainWindow, ReferencesOfAnInterfaceListItsCoclassAndADoubleClickGoesThere) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  frm.Show(SW_SHOW);
  HTREEITEM font = w.Find(TObjectType::otInterface, kFontDisp);
  ASSERT_NE(font, nullptr);
  w.Select(font);
  Pump();

  // The first reading of the libraries, stopped by Cancel: no coclass is
  // listed, and the notes say why.
  g_progressWindows = 0;
  g_cancelHook = SetWindowsHookExW(WH_CBT, CancelWhenMade, nullptr, GetCurrentThreadId());
  ChoosePage(frm, pageReferences);
  UnhookWindowsHookEx(g_cancelHook);
  EXPECT_EQ(g_progressWindows, 1);
  EXPECT_EQ(FindWindowW(kLibraryProgressClass, nullptr), nullptr) << "the progress window is gone";
  EXPECT_TRUE(IsWindowEnabled(frm.Handle()));
  EXPECT_TRUE(Shown(frm.RefList));
  EXPECT_FALSE(Shown(frm.RegTree));
  EXPECT_EQ(RowNamed(frm.ReferencesShown(), u"implemented by [default]", kStdFont), nullptr);
  EXPECT_NE(WindowText(frm.RefNotes).find(u"stopped"), Text::npos) << Utf16ToUtf8(WindowText(frm.RefNotes));
  // Choosing the page anew reads them again.
  EXPECT_EQ(frm.StatusText(), u"Ready");
  ChoosePage(frm, pageRegistry);
  ChoosePage(frm, pageReferences);
  EXPECT_EQ(frm.StatusText(), u"Ready");

  // Read whole: the coclass of stdole2 that implements the interface.
  const std::vector<ReferenceRow>& rows = frm.ReferencesShown();
  const ReferenceRow* coclass = RowNamed(rows, u"implemented by [default]", kStdFont);
  ASSERT_NE(coclass, nullptr) << Utf16ToUtf8(WindowText(frm.RefNotes));
  EXPECT_EQ(static_cast<size_t>(ListView_GetItemCount(frm.RefList)), rows.size());
  const int row = static_cast<int>(coclass - rows.data());
  EXPECT_EQ(ListText(frm.RefList, row, 0), u"implemented by [default]");
  EXPECT_TRUE(EqualsNoCase(ListText(frm.RefList, row, 2), kStdFont));

  // A double click goes to the class, whose page lists the interface.
  DoubleClick(frm.RefList, row);
  EXPECT_TRUE(EqualsNoCase(SelectedGuid(w), kStdFont)) << Utf16ToUtf8(SelectedGuid(w));
  EXPECT_TRUE(IsExpanded(frm.Tree, frm.OCRoot));
  EXPECT_TRUE(Shown(frm.RefList)) << "the References page stays chosen";
  EXPECT_NE(RowNamed(frm.ReferencesShown(), u"implements [default]", kFontDisp), nullptr);
  EXPECT_EQ(frm.StatusText(), u"Ready");
  EXPECT_TRUE(captured.reports.empty()) << Utf16ToUtf8(captured.reports.empty() ? Text() : captured.reports[0]);
}

}  // namespace
}  // namespace brannock::ui::testing
