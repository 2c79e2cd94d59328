// Looking up the items of a tree widget by their text, for the window tests.
#pragma once

#include <QString>
#include <QTreeWidgetItem>

namespace brannock::ui::testing {

// The child of `root` whose first column reads `text`; null when none does.
inline QTreeWidgetItem* Child(QTreeWidgetItem* root, const QString& text) {
  for (int i = 0; i < root->childCount(); ++i)
    if (root->child(i)->text(0) == text) return root->child(i);
  return nullptr;
}

}  // namespace brannock::ui::testing
