// Shows the Windows viewer or the About dialog for a screenshot (taken by
// scripts/wine-viewer-stage.sh --screenshots with `import -window root`):
//   viewer_screenshots_win32.exe viewer LIBRARY   the viewer, at the
//                                                 declaration of IHTMLDocument2
//   viewer_screenshots_win32.exe about            the About dialog
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/version_info.h"
#include "platform/win32/wide_text.h"
#include "typelib/loader.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/tlb_viewer.h"

using namespace brannock;
using namespace brannock::ui;


int wmain(int argc, wchar_t** argv) {
  InitCommonControls();
  CoInitialize(nullptr);
  if (argc >= 2 && wcscmp(argv[1], L"about") == 0) {
    ShowAboutDialog(nullptr);
    return 0;
  }
  if (argc < 3) return 2;
  const auto loader = typelib::CreateTypeLibLoader(nullptr, {});
  TObjectData record;
  record.Typ = TObjectType::otTypeLib;
  record.Server = platform::FromWide(argv[2], wcslen(argv[2]));
  const auto view = OpenTypeLibView(record, *loader, nullptr);
  if (!view) return 1;
  // Typed into the tree, as a user reaches it, then double-clicked.
  TreeView_SelectItem(view->Tree, TreeView_GetRoot(view->Tree));
  int64_t time = 0;
  for (const wchar_t* c = L"interface IHTMLDocument2"; *c; ++c) view->TreeTypeAhead(*c, time += 10);
  view->TreeDblClick();
  view->ShowModal();
  return 0;
}
