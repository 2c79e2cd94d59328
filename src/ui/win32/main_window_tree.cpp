// The object tree of TfrmMain on Win32: the four roots, the lazy reading of
// a collection when its root is first expanded, the sorted children and
// the type-ahead search (Refresh is TTreeCommands',
// ui/logic/tree_commands.h). A node's text and image are given with the
// node (TreeGetText and TreeGetImageIndex of its record): neither changes
// while the node lives, and a callback for them would cost a notification
// and a text measurement per node at every expansion.
#include <optional>

#include "catalogue/object_kinds.h"
#include "platform/win32/wide_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/win32/main_window.h"
#include "ui/win32/tree_batch.h"
#include "ui/win32/tree_selection.h"
#include "ui/win32/window_images.h"

namespace brannock::ui {

namespace {

// `change`: while the window compares, the change whose badge the node's
// image carries.
HTREEITEM AddNode(HWND tree, HTREEITEM parent, TObjectNode node, bool root, TObjectNode** added = nullptr,
                  std::optional<analysis::ObjectChange> change = std::nullopt) {
  auto* record = new TObjectNode(std::move(node));
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = reinterpret_cast<wchar_t*>(record->Text.data());  // copied by the control
  const int image = TreeGetImageIndex(root, record->Typ);
  insert.item.iImage = insert.item.iSelectedImage = change ? BadgedTreeImage(image, *change) : image;
  insert.item.cChildren = root ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
  HTREEITEM item = TreeView_InsertItem(tree, &insert);
  if (!item) delete record;
  if (added) *added = item ? record : nullptr;
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

bool TfrmMain::IsRoot(HTREEITEM item) const {
  if (!item) return false;
  for (const ObjectKind& kind : kObjectKinds)
    if (item == RootOf(kind.typ)) return true;
  return false;
}

HTREEITEM TfrmMain::FocusedNode() const { return TreeView_GetSelection(Tree); }

HTREEITEM TfrmMain::RootOf(TObjectType typ) const { return RootField(*this, typ); }

void TfrmMain::CreateTree() {
  TreeBatchUpdate batch(Tree);
  OCRoot = AIRoot = TLRoot = IFRoot = nullptr;
  for (auto& nodes : loaded_) nodes.clear();
  TreeView_DeleteAllItems(Tree);
  for (const RootInfo& info : kRoots)
    RootField(*this, info.typ) = AddNode(Tree, TVI_ROOT, TObjectNode{info.caption, info.typ, 0, {}}, true);
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
  std::vector<LoadedNode>& loaded = loaded_[static_cast<size_t>(typ)];
  loaded.clear();
  loaded.reserve(list.size());
  for (int32_t i : SortedChildOrder(names)) {
    TObjectNode* record = nullptr;
    HTREEITEM item = AddNode(Tree, root, TObjectNode{list[static_cast<size_t>(i)].Name, typ, i, {}}, false, &record);
    if (item) loaded.push_back({item, record});
  }
}

// While comparing, each root holds what differs, each object's image with
// the badge of its change (BadgedTreeImage).
void TfrmMain::FillComparisonKey(HTREEITEM root, const analysis::RegistryComparison& result) {
  const TObjectType typ = NodeOf(root)->Typ;
  std::vector<LoadedNode>& loaded = loaded_[static_cast<size_t>(typ)];
  loaded.clear();
  for (TObjectNode& node : ComparisonNodes(result, typ)) {
    const analysis::ObjectChange change = DifferenceOf(result, node)->change;
    TObjectNode* record = nullptr;
    HTREEITEM item = AddNode(Tree, root, std::move(node), false, &record, change);
    if (item) loaded.push_back({item, record});
  }
}

void TfrmMain::TreeExpanding(HTREEITEM node) {
  // While comparing the roots hold what differs from the start.
  if (!node || Comparing() || TreeView_GetChild(Tree, node)) return;
  HTREEITEM parent = TreeView_GetParent(Tree, node);
  if (parent && TreeView_GetParent(Tree, parent)) return;
  BusyScope busy(statusDisplay_, BusyScope::Cursor::Wait);
  if (parent) return;
  const TObjectType typ = NodeOf(node)->Typ;
  if (catalogue_.List(typ).empty()) catalogue_.ReadList(typ);
  FillKey(node, catalogue_.List(typ));
}

void TfrmMain::TreeKeyPress(wchar_t typed, int64_t timeMs) {
  const Text search = typeAhead_.Type(Text(1, static_cast<char16_t>(typed)), timeMs);
  // All nodes in tree order: the roots and the loaded objects below them,
  // whether their root is expanded or not.
  std::vector<HTREEITEM> items;
  std::vector<TextView> texts;
  const HTREEITEM focused = FocusedNode();
  size_t start = 0;
  auto add = [&](HTREEITEM item, const TObjectNode* record) {
    if (item == focused) start = items.size();
    items.push_back(item);
    texts.push_back(record->Text);
  };
  for (const RootInfo& info : kRoots) {
    HTREEITEM root = RootOf(info.typ);
    if (!root) continue;
    add(root, NodeOf(root));
    for (const LoadedNode& child : LoadedChildren(info.typ)) add(child.item, child.record);
  }
  const std::optional<size_t> found = FindIncremental(texts, start, search);
  if (!found) return;
  SelectAndShow(Tree, items[*found]);
}

}  // namespace brannock::ui
