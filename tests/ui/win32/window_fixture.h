// What the Win32 window tests share: the live (Wine) registry, a main
// window on it, reading the controls back, and the boxes and reports
// captured instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "catalogue/catalogue.h"
#include "pane_lines.h"
#include "platform/win32/wide_text.h"
#include "registry/win32_registry.h"
#include "ui/win32/main_window.h"
#include "ui/win32/message_boxes.h"

namespace brannock::ui::testing {

// Runs every message waiting for this thread.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

inline std::string ReadFileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline Text ItemText(HWND tree, HTREEITEM item) {
  std::wstring buffer(65536, L'\0');
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_HANDLE;
  tv.hItem = item;
  tv.pszText = buffer.data();
  tv.cchTextMax = static_cast<int>(buffer.size());
  if (!TreeView_GetItem(tree, &tv)) return {};
  return platform::FromWide(tv.pszText, wcslen(tv.pszText));
}

inline std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM c = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); c;
       c = TreeView_GetNextSibling(tree, c))
    items.push_back(c);
  return items;
}

// Every line of a tree with its level, in tree order.
inline std::vector<brannock::testing::PaneLine> RegTreeLines(HWND tree) {
  std::vector<brannock::testing::PaneLine> lines;
  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int level) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
      lines.push_back({level, ItemText(tree, item)});
      walk(TreeView_GetChild(tree, item), level + 1);
    }
  };
  walk(TreeView_GetRoot(tree), 0);
  return lines;
}

inline bool IsExpanded(HWND tree, HTREEITEM item) {
  return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

inline Text WindowText(HWND w) {
  std::wstring buffer(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  const int n = GetWindowTextW(w, buffer.data(), static_cast<int>(buffer.size()));
  return platform::FromWide(buffer.data(), static_cast<size_t>(n));
}

// The control's own visibility, whether its window is shown or not.
inline bool Shown(HWND w) { return (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

inline bool MenuEnabled(HMENU menu, UINT id) {
  return (GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

inline void Command(const TfrmMain& frm, WORD id) { SendMessageW(frm.Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

// Boxes and error reports land here instead of on the screen.
struct Captured {
  struct Box {
    BoxKind kind;
    Text text, caption;
  };
  std::vector<Box> boxes;
  std::vector<Text> reports;
  Captured() {
    SetMessageBoxHook([this](BoxKind k, const Text& t, const Text& c) { boxes.push_back({k, t, c}); });
    SetErrorReportHook([this](const Text& t) { reports.push_back(t); });
  }
  ~Captured() {
    SetMessageBoxHook(nullptr);
    SetErrorReportHook(nullptr);
  }
};

// The main window on the live registry, with the settings below
// HKEY_CURRENT_USER when asked, and regsvr32 started by `runTool` when
// given (SetToolRunner, until the window goes).
struct LiveWindow {
  registry::Win32Registry registry;
  Catalogue catalogue{registry};
  std::unique_ptr<TfrmMain> frm;
  explicit LiveWindow(bool settings = false, ToolRunner runTool = {}) {
    TfrmMain::Options options;
    options.settings = settings ? &registry : nullptr;
    options.quitOnClose = false;
    SetToolRunner(std::move(runTool));
    frm = std::make_unique<TfrmMain>(catalogue, options);
  }
  ~LiveWindow() { SetToolRunner(nullptr); }
  // The object node of that kind and GUID; its root is expanded for it.
  HTREEITEM Find(TObjectType typ, TextView guid) {
    HTREEITEM root = frm->RootOf(typ);
    TreeView_Expand(frm->Tree, root, TVE_EXPAND);
    for (HTREEITEM c : Children(frm->Tree, root)) {
      const TObjectNode* node = frm->NodeOf(c);
      if (EqualsNoCase(catalogue.List(typ)[static_cast<size_t>(node->Index)].GUID, guid)) return c;
    }
    return nullptr;
  }
  HTREEITEM FindNamed(HTREEITEM root, TextView name) {
    TreeView_Expand(frm->Tree, root, TVE_EXPAND);
    for (HTREEITEM c : Children(frm->Tree, root))
      if (frm->NodeOf(c)->Text == name) return c;
    return nullptr;
  }
  void Select(HTREEITEM item) { TreeView_SelectItem(frm->Tree, item); }
};

// The selected node's GUID; empty for none or a root.
inline Text SelectedGuid(LiveWindow& w) {
  HTREEITEM item = w.frm->FocusedNode();
  const TObjectNode* node = w.frm->NodeOf(item);
  if (!node || w.frm->IsRoot(item)) return {};
  return w.catalogue.List(node->Typ)[static_cast<size_t>(node->Index)].GUID;
}

// The text of a list view's cell.
inline Text ListText(HWND list, int item, int column) {
  std::wstring buffer(4096, L'\0');
  ListView_GetItemText(list, item, column, buffer.data(), static_cast<int>(buffer.size()));
  return platform::FromWide(buffer.c_str(), wcslen(buffer.c_str()));
}

}  // namespace brannock::ui::testing
