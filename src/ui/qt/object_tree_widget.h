// The object tree control: nodes carrying a TObjectNode, roots that always
// show an expand button, and an incremental search that uses the window's
// match test over all nodes with a 1000 ms typing timeout.
#pragma once

#include <QTreeWidget>
#include <optional>

#include "analysis/registry_comparison.h"

#include "ui/logic/object_tree.h"
#include "ui/logic/type_ahead.h"

namespace brannock::ui {

class ObjectNodeItem : public QTreeWidgetItem {
 public:
  explicit ObjectNodeItem(TObjectNode node) : node_(std::move(node)) {}
  TObjectNode& Node() { return node_; }
  const TObjectNode& Node() const { return node_; }
  bool IsRoot() const { return parent() == nullptr; }
  // While the window compares: the change the object's image shows.
  void SetChange(analysis::ObjectChange change) { change_ = change; }
  QVariant data(int column, int role) const override;

 private:
  TObjectNode node_;
  std::optional<analysis::ObjectChange> change_;
};

class ObjectTree : public QTreeWidget {
 public:
  explicit ObjectTree(QWidget* parent = nullptr);

  static ObjectNodeItem* NodeOf(QTreeWidgetItem* item) { return static_cast<ObjectNodeItem*>(item); }

  void keyboardSearch(const QString& search) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TypeAheadSearch search_;  // the typed text and its 1000 ms timeout
  int64_t typedAtMs_ = 0;   // when the key being handled was typed
};

}  // namespace brannock::ui
