// The object tree control: nodes carrying a TObjectNode, roots that always
// show an expand button, and an incremental search that uses the window's
// match test over all nodes with a 1000 ms typing timeout.
#pragma once

#include <QElapsedTimer>
#include <QTreeWidget>

#include "ui/logic/object_tree.h"
#include "ui/logic/type_ahead.h"

namespace brannock::ui {

class ObjectNodeItem : public QTreeWidgetItem {
 public:
  explicit ObjectNodeItem(TObjectNode node) : node_(std::move(node)) {}
  TObjectNode& Node() { return node_; }
  const TObjectNode& Node() const { return node_; }
  bool IsRoot() const { return parent() == nullptr; }
  QVariant data(int column, int role) const override;

 private:
  TObjectNode node_;
};

class ObjectTree : public QTreeWidget {
 public:
  explicit ObjectTree(QWidget* parent = nullptr);

  static ObjectNodeItem* NodeOf(QTreeWidgetItem* item) { return static_cast<ObjectNodeItem*>(item); }

  void keyboardSearch(const QString& search) override;

 private:
  TypeAheadSearch search_;  // the typed text and its 1000 ms timeout
  QElapsedTimer clock_;
};

}  // namespace brannock::ui
