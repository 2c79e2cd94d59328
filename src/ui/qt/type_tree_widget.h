// The viewer's tree control: per-node TTypeNode records, the 16-pixel rows
// and the type-ahead search over every node, expanded or not.
#pragma once

#include <QTreeWidget>
#include <functional>

#include "ui/logic/type_ahead.h"
#include "ui/logic/type_tree.h"

namespace brannock::ui {

class TTypeTreeWidget : public QTreeWidget {
 public:
  explicit TTypeTreeWidget(QWidget* parent = nullptr);

  // The record a node carries.
  static TTypeNode NodeOf(const QTreeWidgetItem* item);
  static void SetNode(QTreeWidgetItem* item, const TTypeNode& node);

  // Every node in display order (parents before their children), whether
  // its parent is expanded or not.
  QList<QTreeWidgetItem*> AllNodes() const;

  void keyboardSearch(const QString& search) override;

  // Called after each size change.
  std::function<void()> OnResize;
  // Called when type-ahead found no node for its search text (the control
  // has beeped).
  std::function<void(const QString& searchText)> OnTypeAheadMiss;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TypeAheadSearch typeAhead_;
  int64_t typedAtMs_ = 0;  // when the key being handled was typed (its time stamp)
};

}  // namespace brannock::ui
