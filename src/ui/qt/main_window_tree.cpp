// The main window's object tree: its four roots, filled on demand, and an
// object of the catalogue selected in it; Refresh is TTreeCommands'
// (ui/logic/tree_commands.h).
#include "ui/qt/main_window.h"

#include "catalogue/object_kinds.h"
#include "ui/logic/object_tree.h"
#include "ui/qt/batch_update.h"
#include "ui/qt/busy.h"

namespace brannock::ui {

QTreeWidgetItem* TfrmMain::RootOf(TObjectType typ) const { return RootField(*this, typ); }

void TfrmMain::CreateTree() {
  BatchUpdate batch(Tree);
  Tree->clear();
  for (const RootInfo& info : kRoots) {
    auto* root = new ObjectNodeItem(TObjectNode{info.caption, info.typ, 0, {}});
    Tree->addTopLevelItem(root);
    RootField(*this, info.typ) = root;
  }
  SetTree();
}

void TfrmMain::SetTree() {
  for (int i = 0; i < Tree->topLevelItemCount(); ++i)
    Tree->topLevelItem(i)->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void TfrmMain::FillKey(QTreeWidgetItem* root, const TObjects& list) {
  const TObjectType typ = ObjectTree::NodeOf(root)->Node().Typ;
  BatchUpdate batch(Tree);
  std::vector<TextView> names;
  names.reserve(list.size());
  for (const TObjectData& d : list) names.push_back(d.Name);
  QList<QTreeWidgetItem*> children;
  children.reserve(static_cast<qsizetype>(list.size()));
  for (int32_t i : SortedChildOrder(names))
    children.push_back(new ObjectNodeItem(TObjectNode{list[static_cast<size_t>(i)].Name, typ, i, {}}));
  root->addChildren(children);
}

void TfrmMain::TreeExpanding(QTreeWidgetItem* node) {
  if (!node || node->childCount() > 0 || (node->parent() && node->parent()->parent())) return;
  // While comparing the roots hold what differs from the start.
  if (Comparing()) return;
  BusyScope busy(statusDisplay_, BusyScope::Cursor::Wait);
  if (node->parent()) return;
  const TObjectType typ = ObjectTree::NodeOf(node)->Node().Typ;
  if (catalogue_.List(typ).empty()) catalogue_.ReadList(typ);
  FillKey(node, catalogue_.List(typ));
  // A root that is still empty closes again, so that the next click on it
  // reads its collection anew (open, it would take one click to close first).
  if (node->childCount() == 0) {
    QSignalBlocker quiet(Tree);
    node->setExpanded(false);
  }
}

void TfrmMain::ExpandRoot(TObjectType typ) {
  // The object is one of the registry shown: the comparison's nodes are not
  // its nodes.
  if (Comparing()) cmEndComparison();
  QTreeWidgetItem* root = RootOf(typ);
  if (root->childCount() == 0) TreeExpanding(root);
  if (root->childCount() > 0) root->setExpanded(true);
}

bool TfrmMain::SelectObjectNode(TObjectType typ, uint32_t index) {
  QTreeWidgetItem* root = RootOf(typ);
  for (int i = 0; i < root->childCount(); ++i) {
    QTreeWidgetItem* node = root->child(i);
    if (ObjectTree::NodeOf(node)->Node().Index != static_cast<int64_t>(index)) continue;
    Tree->setCurrentItem(node);
    Tree->scrollToItem(node);
    return true;
  }
  return false;
}

}  // namespace brannock::ui
