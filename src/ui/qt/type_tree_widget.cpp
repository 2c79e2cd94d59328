#include "ui/qt/type_tree_widget.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "ui/qt/qt_text.h"

namespace brannock::ui {
namespace {

constexpr int kNodeTextRole = Qt::UserRole;
constexpr int kNodeKindRole = Qt::UserRole + 1;
constexpr int kNodeNameRole = Qt::UserRole + 2;

void CollectNodes(QTreeWidgetItem* item, QList<QTreeWidgetItem*>& nodes) {
  nodes.append(item);
  for (int i = 0; i < item->childCount(); ++i) CollectNodes(item->child(i), nodes);
}

}  // namespace

TTypeTreeWidget::TTypeTreeWidget(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void TTypeTreeWidget::keyPressEvent(QKeyEvent* event) {
  typedAtMs_ = static_cast<int64_t>(event->timestamp());
  QTreeWidget::keyPressEvent(event);
}

TTypeNode TTypeTreeWidget::NodeOf(const QTreeWidgetItem* item) {
  return {FromQt(item->data(0, kNodeTextRole).toString()), item->data(0, kNodeKindRole).toInt(),
          FromQt(item->data(0, kNodeNameRole).toString())};
}

void TTypeTreeWidget::SetNode(QTreeWidgetItem* item, const TTypeNode& node) {
  item->setData(0, kNodeTextRole, ToQt(node.Text));
  item->setData(0, kNodeKindRole, node.Kind);
  item->setData(0, kNodeNameRole, ToQt(node.Name));
  item->setSizeHint(0, QSize(-1, 16));
}

QList<QTreeWidgetItem*> TTypeTreeWidget::AllNodes() const {
  QList<QTreeWidgetItem*> nodes;
  for (int i = 0; i < topLevelItemCount(); ++i) CollectNodes(topLevelItem(i), nodes);
  return nodes;
}

void TTypeTreeWidget::keyboardSearch(const QString& search) {
  const Text& text = typeAhead_.Type(FromQt(search), typedAtMs_);
  const QList<QTreeWidgetItem*> nodes = AllNodes();
  TextList shown;
  shown.reserve(static_cast<size_t>(nodes.size()));
  for (const QTreeWidgetItem* node : nodes) shown.push_back(FromQt(node->text(0)));
  const qsizetype focused = nodes.indexOf(currentItem());
  const auto match = FindTypeAheadMatch(shown, focused < 0 ? 0 : static_cast<size_t>(focused), text);
  if (!match) {
    QApplication::beep();
    if (OnTypeAheadMiss) OnTypeAheadMiss(ToQt(text));
    return;
  }
  QTreeWidgetItem* found = nodes[static_cast<qsizetype>(*match)];
  for (QTreeWidgetItem* parent = found->parent(); parent; parent = parent->parent()) parent->setExpanded(true);
  setCurrentItem(found);
  scrollToItem(found);
}

void TTypeTreeWidget::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  if (OnResize) OnResize();
}

}  // namespace brannock::ui
