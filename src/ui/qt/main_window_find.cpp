// The main window's Find window and the detail pane's References page: the
// controls TFindCommands needs (the sequences are in ui/logic/find_commands.h,
// the rows and texts in ui/logic/find_window.h and references_tab.h).
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/logic/window_sizes.h"
#include "ui/qt/batch_update.h"
#include "ui/qt/find_window.h"
#include "ui/qt/library_progress.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/window_images.h"

namespace brannock::ui {

namespace {

// Where a row of the References page goes: its target's kind and entry,
// on the first column's item; none for a missing target or a ProgID.
constexpr int kTargetTypeRole = Qt::UserRole;
constexpr int kTargetIndexRole = Qt::UserRole + 1;

}  // namespace

const TObjectNode* TfrmMain::FocusedObjectNode() const {
  const Focus focus = FocusedRecord();
  return focus.root ? nullptr : focus.node;
}

void TfrmMain::ShowFindWindow() {
  if (!frmFind) frmFind = new FindWindow(this, *this);
  // Closed, it did not follow a catalogue read anew.
  if (!frmFind->isVisible()) frmFind->Search();
  frmFind->show();
  frmFind->raise();
  frmFind->activateWindow();
  frmFind->eText->setFocus();
  frmFind->eText->selectAll();
}

void TfrmMain::SearchFindWindowAgain() {
  if (frmFind && frmFind->isVisible()) frmFind->Search();
}

QWidget* TfrmMain::BuildReferencesPage() {
  tsReferences = new QWidget(pc);
  auto* page = new QVBoxLayout(tsReferences);
  RefList = new QTreeWidget(tsReferences);
  RefList->setRootIsDecorated(false);
  RefList->setUniformRowHeights(true);
  RefList->setAllColumnsShowFocus(true);
  RefList->setColumnCount(3);
  RefList->setHeaderLabels({ToQt(kReferencesColumns[0]), ToQt(kReferencesColumns[1]), ToQt(kReferencesColumns[2])});
  RefList->header()->resizeSection(0, 150);
  RefList->header()->resizeSection(1, 180);
  RefList->setIconSize(QSize(16, 16));
  page->addWidget(RefList, 1);
  RefNotes = new QPlainTextEdit(tsReferences);
  RefNotes->setReadOnly(true);
  RefNotes->setFixedHeight(main_size::kMemoHeight);
  RefNotes->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  page->addWidget(RefNotes);
  return tsReferences;
}

void TfrmMain::ShowReferencesPage(bool shown) {
  const QSignalBlocker quiet(pc);  // the page the user chose stays chosen
  const int at = pc->indexOf(tsReferences);
  if (shown && at < 0) pc->insertTab(1, tsReferences, ToQt(kReferencesTab));
  if (!shown && at >= 0) pc->removeTab(at);
}

bool TfrmMain::ReferencesPageShown() const { return pc->currentWidget() == tsReferences; }

void TfrmMain::ShowReferenceRows(const std::vector<ReferenceRow>& rows, const TextList& notes) {
  const QBrush missing = RefList->palette().brush(QPalette::Disabled, QPalette::Text);
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const ReferenceRow& row : rows) {
    auto* item = new QTreeWidgetItem({ToQt(row.relation), ToQt(row.name), ToQt(row.guid)});
    if (row.image >= 0 && row.image < kTreeImageCount) item->setIcon(1, TreeImages()[static_cast<size_t>(row.image)]);
    if (row.missing)
      for (int column = 0; column < 3; ++column) item->setForeground(column, missing);
    if (row.typ && row.index) {
      item->setData(0, kTargetTypeRole, static_cast<int>(*row.typ));
      item->setData(0, kTargetIndexRole, static_cast<uint>(*row.index));
    }
    items.push_back(item);
  }
  {
    BatchUpdate batch(RefList);
    RefList->clear();
    RefList->addTopLevelItems(items);
  }
  QStringList lines;
  for (const Text& note : notes) lines << ToQt(note);
  RefNotes->setPlainText(lines.join('\n'));
}

void TfrmMain::RefListDblClick(QTreeWidgetItem* item) {
  if (!item) return;
  const QVariant typ = item->data(0, kTargetTypeRole);
  if (!typ.isValid()) return;
  // Copied first: going there fills the page anew.
  GoToObject(static_cast<TObjectType>(typ.toInt()), item->data(0, kTargetIndexRole).toUInt());
}

std::unique_ptr<LibraryProgress> TfrmMain::OpenLibraryProgress() {
  return std::make_unique<LibraryProgressWindow>(this);
}

}  // namespace brannock::ui
