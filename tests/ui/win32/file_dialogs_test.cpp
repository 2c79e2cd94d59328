// The main window's real common file dialogs under Wine: the Save dialog's
// file types and its hidden read-only box, the Open dialog's own "All
// Files (*.*)". A timer reads the dialog and cancels it.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include "ui/logic/main_window_text.h"
#include "ui/win32/tlb_viewer.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

struct SeenDialog {
  bool found = false;
  std::vector<Text> types;  // the file type box's lines
  bool readOnlyShown = true;
};
SeenDialog g_seenDialog;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK ReadAndCancel(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, timer);
  g_seenDialog.found = true;
  HWND types = GetDlgItem(dialog, cmb1);
  const LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t line[128] = {};
    if (SendMessageW(types, CB_GETLBTEXTLEN, i, 0) < 128)
      SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(line));
    g_seenDialog.types.push_back(platform::FromWide(line, wcslen(line)));
  }
  HWND readOnly = GetDlgItem(dialog, chx1);
  g_seenDialog.readOnlyShown = readOnly && IsWindowVisible(readOnly);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

SeenDialog Opened(const TfrmMain& frm, WORD command) {
  g_seenDialog = {};
  SetTimer(nullptr, 0, 50, ReadAndCancel);
  Command(frm, command);
  return g_seenDialog;
}

TEST(Win32MainWindow, FileDialogsShowTheirOwnFileTypesAndHideReadOnly) {
  Captured captured;
  LiveWindow w;
  TfrmMain::SetSaveFileChooser(nullptr);
  TfrmMain::SetTypeLibFileChooser(nullptr);

  const SeenDialog save = Opened(*w.frm, cmdSaveFirst);
  ASSERT_TRUE(save.found) << "no Save dialog";
  EXPECT_EQ(save.types, (std::vector<Text>{u"CSV files", u"All files"}));
  EXPECT_FALSE(save.readOnlyShown) << "the Save dialog shows its read-only box";

  const SeenDialog open = Opened(*w.frm, cmdViewTypeLib);
  ASSERT_TRUE(open.found) << "no Open dialog";
  EXPECT_EQ(open.types,
            (std::vector<Text>{u"TypeLib Files (*.tlb;*.olb;*.dll;*.ocx;*.exe)", u"All Files (*.*)"}));
  EXPECT_FALSE(open.readOnlyShown);
  // Cancelled: nothing written, no viewer, no error.
  EXPECT_EQ(FindWindowW(kViewerWindowClass, nullptr), nullptr);
  EXPECT_TRUE(captured.reports.empty());
  EXPECT_TRUE(captured.boxes.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
