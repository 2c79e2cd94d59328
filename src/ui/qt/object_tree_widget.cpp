#include "ui/qt/object_tree_widget.h"

#include "ui/qt/qt_text.h"
#include "ui/qt/tree_images.h"

namespace brannock::ui {

QVariant ObjectNodeItem::data(int column, int role) const {
  if (column == 0) {
    if (role == Qt::DisplayRole) return ToQt(node_.Text);  // TreeGetText
    if (role == Qt::DecorationRole)                         // TreeGetImageIndex
      return TreeImages()[static_cast<size_t>(TreeGetImageIndex(IsRoot(), node_.Typ))];
  }
  return QTreeWidgetItem::data(column, role);
}

ObjectTree::ObjectTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
  clock_.start();
}

void ObjectTree::keyboardSearch(const QString& search) {
  if (search.isEmpty()) return;
  const Text text = search_.Type(FromQt(search), clock_.elapsed());

  // All nodes in tree order: roots and the loaded objects below them,
  // whether their root is expanded or not.
  std::vector<QTreeWidgetItem*> items;
  std::vector<TextView> texts;
  size_t start = 0;
  for (int r = 0; r < topLevelItemCount(); ++r) {
    QTreeWidgetItem* root = topLevelItem(r);
    if (root == currentItem()) start = items.size();
    items.push_back(root);
    texts.push_back(NodeOf(root)->Node().Text);
    for (int c = 0; c < root->childCount(); ++c) {
      QTreeWidgetItem* child = root->child(c);
      if (child == currentItem()) start = items.size();
      items.push_back(child);
      texts.push_back(NodeOf(child)->Node().Text);
    }
  }
  const auto found = FindIncremental(texts, start, text);
  if (!found) return;
  QTreeWidgetItem* item = items[*found];
  if (item->parent() && !item->parent()->isExpanded()) item->parent()->setExpanded(true);
  setCurrentItem(item);
  scrollToItem(item);
}

}  // namespace brannock::ui
