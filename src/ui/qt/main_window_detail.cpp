// The main window's detail pane: the header, the registry tree behind the
// selected object and the value memo; then its References page.
#include "ui/qt/main_window.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "catalogue/object_kinds.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/object_pane.h"
#include "ui/qt/batch_update.h"
#include "ui/qt/header_icon.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

void TfrmMain::ClearPane() {
  eName->clear();
  eGUID->clear();
  imgDefaultIcon->clear();
  RegTree->clear();
  Memo->clear();
  ShowReferenceRows({}, {});
  pc->hide();
}

void TfrmMain::TreeChange(QTreeWidgetItem* item) {
  Memo->clear();
  if (!item) return;
  ObjectNodeItem* node = ObjectTree::NodeOf(item);
  eName->setText(ToQt(node->Node().Text));
  eName->setCursorPosition(0);
  imgDefaultIcon->clear();
  pc->setVisible(!node->IsRoot());
  if (node->IsRoot()) {
    eGUID->setText(ToQt(RootPaneText(node->childCount())));
    return;
  }
  if (Comparing()) {
    ShowDifference(node);
    return;
  }
  // No line of the object before stays when this one's pane fails.
  ShowReferenceRows({}, {});
  ShowDetails(node);
  ShowReferences();
}

// The pane is built whole first and then shown in one step, so that an error
// on the way never leaves the header of one object over the registry tree
// of another; the error is reported once the pane shows what was built.
void TfrmMain::ShowDetails(ObjectNodeItem* node) {
  // A node whose list entry is gone (the list was read anew without
  // rebuilding the tree) has nothing to show.
  const std::optional<ObjectPane> pane =
      BuildObjectPane(catalogue_, node->Node(), mmHex->isChecked(), RunsTools(options_.tools));
  if (!pane) return;
  const TObjectData& snapshot = pane->snapshot;
  EnableObjectCommands(pane->states);
  eGUID->setText(ToQt(pane->guid));
  eGUID->setCursorPosition(0);
  {
    BatchUpdate batch(RegTree);
    RegTree->clear();
    FillRegTree(pane->lines, !pane->error);
  }
  ShowSecurityPage(snapshot);
  if (pane->error) std::rethrow_exception(pane->error);

  // Last: an icon index that is not a number raises a conversion error.
  const QIcon icon =
      HeaderIcon(snapshot, options_.locator,
                 options_.view && registry::SeesWow64Files(*options_.view, options_.view->View()));
  if (!icon.isNull()) imgDefaultIcon->setPixmap(icon.pixmap(32, 32));
}

void TfrmMain::FillRegTree(const std::vector<RegLine>& lines, bool expand) {
  std::vector<QTreeWidgetItem*> items;
  items.reserve(lines.size());
  QFont bold = RegTree->font();
  bold.setBold(true);
  for (const RegLine& line : lines) {
    QTreeWidgetItem* item = line.parent < 0 ? new QTreeWidgetItem(RegTree)
                                            : new QTreeWidgetItem(items[static_cast<size_t>(line.parent)]);
    item->setText(0, ToQt(line.text));
    if (line.level == 0) item->setFont(0, bold);  // RegTreePaintText
    items.push_back(item);
  }
  if (expand) RegTree->expandAll();
}

void TfrmMain::EnableObjectCommands(const CommandStates& states) {
  for (QWidget* w : std::initializer_list<QWidget*>{bReg, bUnreg}) w->setEnabled(states.registerServer);
  mmReg->setEnabled(states.registerServer);
  mmUnreg->setEnabled(states.registerServer);
  mmCreateInst->setEnabled(states.createInstance);
  mmView->setEnabled(states.viewTypeLib);
  bView->setEnabled(states.viewTypeLib);
  bCopy->setEnabled(true);
}

void TfrmMain::RegTreeChange(QTreeWidgetItem* line) {
  Memo->clear();
  if (line) Memo->setPlainText(line->text(0));
}

void TfrmMain::mmHexClick() { TreeChange(Tree->currentItem()); }

}  // namespace brannock::ui
