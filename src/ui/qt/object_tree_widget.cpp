#include "ui/qt/object_tree_widget.h"

#include <QKeyEvent>

#include "ui/qt/qt_text.h"
#include "ui/qt/window_images.h"

namespace brannock::ui {

QVariant ObjectNodeItem::data(int column, int role) const {
  if (column == 0) {
    if (role == Qt::DisplayRole) return ToQt(node_.Text);  // TreeGetText
    if (role == Qt::DecorationRole) {  // TreeGetImageIndex
      const int image = TreeGetImageIndex(IsRoot(), node_.Typ);
      if (change_) return BadgedTreeImage(image, *change_);
      return TreeImages()[static_cast<size_t>(image)];
    }
  }
  return QTreeWidgetItem::data(column, role);
}

ObjectTree::ObjectTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
}

// Typing times are the keys' own (the event's time stamp), not the time
// the window gets round to them.
void ObjectTree::keyPressEvent(QKeyEvent* event) {
  typedAtMs_ = static_cast<int64_t>(event->timestamp());
  QTreeWidget::keyPressEvent(event);
}

void ObjectTree::keyboardSearch(const QString& search) {
  if (search.isEmpty()) return;
  const Text text = search_.Type(FromQt(search), typedAtMs_);

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
