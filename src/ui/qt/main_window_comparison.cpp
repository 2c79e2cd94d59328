// The main window while it compares (TComparisonCommands' controls): the
// open dialog of "Compare with...", the four roots holding what differs,
// each object with the badge of its change, the status bar's counts, and
// the pane of an object with its removed and added lines marked.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidgetItemIterator>

#include "ui/logic/detail_pane.h"
#include "ui/qt/batch_update.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

QString ChooseSource(QWidget* owner) {
  QFileDialog dialog(owner, ToQt(kCompareWithCaption));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList filters;
  for (const FileFilter& filter : ComparisonSourceFilters()) {
    QStringList patterns;
    for (const Text& p : filter.patterns) patterns << (p == u"*.*" ? QString("*") : ToQt(p));
    filters << ToQt(filter.name.substr(0, filter.name.find(u" ("))) + " (" + patterns.join(' ') + ")";
  }
  dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

TfrmMain::ComparisonSourceChooser& Chooser() {
  static TfrmMain::ComparisonSourceChooser chooser;
  return chooser;
}

}  // namespace

void TfrmMain::SetComparisonSourceChooser(ComparisonSourceChooser chooser) { Chooser() = std::move(chooser); }

Text TfrmMain::ChooseComparisonSource() {
  return FromQt(Chooser() ? Chooser()(this) : ChooseSource(this));
}

void TfrmMain::ShowComparison(const Comparison* comparison) {
  ClearPane();
  CreateTree();
  ShowReferencesPage(comparison == nullptr);
  mmEndComparison->setEnabled(comparison != nullptr);
  sbCompare->setVisible(comparison != nullptr);
  if (!comparison) {
    sbCompare->clear();
    return;
  }
  sbCompare->setText(ToQt(ComparisonStatusText(*comparison)));
  BatchUpdate batch(Tree);
  for (const RootInfo& info : kRoots) {
    QTreeWidgetItem* root = RootOf(info.typ);
    QList<QTreeWidgetItem*> children;
    for (TObjectNode& node : ComparisonNodes(comparison->result, info.typ)) {
      auto* item = new ObjectNodeItem(std::move(node));
      item->SetChange(DifferenceOf(comparison->result, item->Node())->change);
      children.push_back(item);
    }
    root->addChildren(children);
    root->setExpanded(!children.isEmpty());
  }
}

// The object's lines as the comparison found them: no icon, no object
// command (the object may be gone from the registry shown), Copy to
// Clipboard copies the marked lines.
void TfrmMain::ShowDifference(ObjectNodeItem* node) {
  const analysis::ObjectDifference* difference = DifferenceOf(CurrentComparison()->result, node->Node());
  if (!difference) return;
  EnableObjectCommands(CommandStates{});
  HideSecurityPage();
  eGUID->setText(ToQt(difference->guid));
  eGUID->setCursorPosition(0);
  BatchUpdate batch(RegTree);
  RegTree->clear();
  FillRegTree(MarkedPaneLines(*difference), true);
  // The items in tree order are the lines in their order.
  size_t i = 0;
  for (QTreeWidgetItemIterator it(RegTree); *it && i < difference->lines.size(); ++it, ++i) {
    if (const std::optional<Colour> colour = LineColour(difference->lines[i].mark))
      (*it)->setForeground(0, QColor(colour->red, colour->green, colour->blue));
  }
}

}  // namespace brannock::ui
