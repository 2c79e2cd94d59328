// Shows the Windows viewer or the About dialog for a screenshot (taken by
// scripts/wine-viewer-stage.sh --screenshots with `import -window root`):
//   viewer_screenshots_win32.exe viewer LIBRARY   the viewer, at a dual
//                                                 interface's declaration
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

namespace {

// The first interface node whose name starts with `prefix`.
HTREEITEM FindType(HWND tree, const wchar_t* prefix) {
  for (HTREEITEM category = TreeView_GetChild(tree, TreeView_GetRoot(tree)); category;
       category = TreeView_GetNextSibling(tree, category))
    for (HTREEITEM type = TreeView_GetChild(tree, category); type; type = TreeView_GetNextSibling(tree, type)) {
      wchar_t text[256] = {};
      TVITEMW item = {};
      item.mask = TVIF_TEXT;
      item.hItem = type;
      item.pszText = text;
      item.cchTextMax = 256;
      TreeView_GetItem(tree, &item);
      if (wcsncmp(text, prefix, wcslen(prefix)) == 0) return type;
    }
  return nullptr;
}

}  // namespace

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
  const HTREEITEM root = TreeView_GetRoot(view->Tree);
  if (HTREEITEM type = FindType(view->Tree, L"interface IHTMLDocument2")) {
    TreeView_SelectItem(view->Tree, type);
    view->TreeDblClick();
  } else {
    TreeView_SelectItem(view->Tree, root);
  }
  view->ShowModal();
  return 0;
}
