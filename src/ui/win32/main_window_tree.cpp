// The object tree of TfrmMain on Win32: the four roots, the lazy reading of
// a collection when its root is first expanded, the sorted children, the
// full refresh and the type-ahead search. Node texts and images come
// through TVN_GETDISPINFO from the node records.
#include "platform/win32/wide_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/win32/busy_status.h"
#include "ui/win32/main_window.h"
#include "ui/win32/tree_batch.h"

namespace brannock::ui {

namespace {

HTREEITEM AddNode(HWND tree, HTREEITEM parent, TObjectNode node, bool hasChildren) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = LPSTR_TEXTCALLBACKW;
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = hasChildren ? 1 : 0;
  auto* record = new TObjectNode(std::move(node));
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
  HTREEITEM item = TreeView_InsertItem(tree, &insert);
  if (!item) delete record;
  return item;
}

}  // namespace

TObjectNode* TfrmMain::NodeOf(HTREEITEM item) const {
  if (!item) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!TreeView_GetItem(Tree, &tv)) return nullptr;
  return reinterpret_cast<TObjectNode*>(tv.lParam);
}

bool TfrmMain::IsRoot(HTREEITEM item) const { return item && !TreeView_GetParent(Tree, item); }

HTREEITEM TfrmMain::FocusedNode() const { return TreeView_GetSelection(Tree); }

HTREEITEM TfrmMain::RootOf(TObjectType typ) const {
  switch (typ) {
    case TObjectType::otCLSID: return OCRoot;
    case TObjectType::otTypeLib: return TLRoot;
    case TObjectType::otAppID: return AIRoot;
    case TObjectType::otInterface: return IFRoot;
  }
  return nullptr;
}

void TfrmMain::CreateTree() {
  TreeBatchUpdate batch(Tree);
  TreeView_DeleteAllItems(Tree);
  for (const RootInfo& info : kRoots) {
    HTREEITEM root = AddNode(Tree, TVI_ROOT, TObjectNode{info.caption, info.typ, 0, {}}, true);
    switch (info.typ) {
      case TObjectType::otCLSID: OCRoot = root; break;
      case TObjectType::otAppID: AIRoot = root; break;
      case TObjectType::otTypeLib: TLRoot = root; break;
      case TObjectType::otInterface: IFRoot = root; break;
    }
  }
}

// The roots keep their expand button, whatever the control did to it when
// a root turned out empty; an empty root is read again at its next
// expansion.
void TfrmMain::SetTree() {
  for (HTREEITEM root = TreeView_GetRoot(Tree); root; root = TreeView_GetNextSibling(Tree, root)) {
    TVITEMW tv{};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = root;
    tv.cChildren = 1;
    if (!TreeView_GetChild(Tree, root)) {
      tv.mask |= TVIF_STATE;
      tv.stateMask = TVIS_EXPANDEDONCE | TVIS_EXPANDED;
      tv.state = 0;
    }
    TreeView_SetItem(Tree, &tv);
  }
}

void TfrmMain::FillKey(HTREEITEM root, const TObjects& list) {
  const TObjectType typ = NodeOf(root)->Typ;
  TreeBatchUpdate batch(Tree);
  std::vector<TextView> names;
  names.reserve(list.size());
  for (const TObjectData& d : list) names.push_back(d.Name);
  for (int32_t i : SortedChildOrder(names))
    AddNode(Tree, root, TObjectNode{list[static_cast<size_t>(i)].Name, typ, i, {}}, false);
}

void TfrmMain::TreeExpanding(HTREEITEM node) {
  if (!node || TreeView_GetChild(Tree, node)) return;
  HTREEITEM parent = TreeView_GetParent(Tree, node);
  if (parent && TreeView_GetParent(Tree, parent)) return;
  MainWindowBusyDisplay display(*this);
  BusyScope busy(display, BusyScope::Cursor::Wait);
  if (parent) return;
  const TObjectType typ = NodeOf(node)->Typ;
  if (catalogue_.List(typ).empty()) catalogue_.ReadList(typ);
  FillKey(node, catalogue_.List(typ));
}

void TfrmMain::Refresh() {
  MainWindowBusyDisplay display(*this);
  BusyScope busy(display, BusyScope::Cursor::Wait);
  CreateTree();
  for (TObjectType typ : {TObjectType::otCLSID, TObjectType::otTypeLib, TObjectType::otAppID, TObjectType::otInterface}) {
    catalogue_.ReadList(typ);
    FillKey(RootOf(typ), catalogue_.List(typ));
  }
}

void TfrmMain::TreeKeyPress(wchar_t typed, int64_t timeMs) {
  const Text search = typeAhead_.Type(Text(1, static_cast<char16_t>(typed)), timeMs);
  // All nodes in tree order: the roots and the loaded objects below them,
  // whether their root is expanded or not.
  std::vector<HTREEITEM> items;
  std::vector<TextView> texts;
  const HTREEITEM focused = FocusedNode();
  size_t start = 0;
  auto add = [&](HTREEITEM item) {
    if (item == focused) start = items.size();
    items.push_back(item);
    texts.push_back(NodeOf(item)->Text);
  };
  for (HTREEITEM root = TreeView_GetRoot(Tree); root; root = TreeView_GetNextSibling(Tree, root)) {
    add(root);
    for (HTREEITEM child = TreeView_GetChild(Tree, root); child; child = TreeView_GetNextSibling(Tree, child))
      add(child);
  }
  const std::optional<size_t> found = FindIncremental(texts, start, search);
  if (!found) return;
  TreeView_SelectItem(Tree, items[*found]);
  TreeView_EnsureVisible(Tree, items[*found]);
}

}  // namespace brannock::ui
