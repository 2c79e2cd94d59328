#include "ui/qt/find_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/logic/command_flow.h"
#include "ui/logic/find_window.h"
#include "ui/qt/error_report.h"
#include "ui/qt/find_result_model.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

FindWindow::FindWindow(QWidget* owner, TFindCommands& commands) : QDialog(owner), commands_(commands) {
  setObjectName("frmFind");
  setWindowTitle(ToQt(kFindCaption));
  setModal(false);
  resize(kFindWindowWidth, kFindWindowHeight);
  auto* v = new QVBoxLayout(this);
  auto* prompt = new QLabel(ToQt(kFindPrompt), this);
  eText = new QLineEdit(this);
  prompt->setBuddy(eText);
  v->addWidget(prompt);
  v->addWidget(eText);

  rows_ = new FindResultModel(this);
  List = new QTreeView(this);
  List->setModel(rows_);
  List->setRootIsDecorated(false);
  List->setUniformRowHeights(true);
  List->setItemsExpandable(false);
  List->setAllColumnsShowFocus(true);
  List->setSelectionBehavior(QAbstractItemView::SelectRows);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  List->setEditTriggers(QAbstractItemView::NoEditTriggers);
  List->setIconSize(QSize(16, 16));
  List->header()->setStretchLastSection(true);
  List->header()->resizeSection(0, kFindWindowWidth * 3 / 10);
  List->header()->resizeSection(1, kFindWindowWidth * 2 / 5);
  v->addWidget(List, 1);
  Count = new QLabel(this);
  v->addWidget(Count);

  connect(eText, &QLineEdit::textChanged, this, [this] { Guarded(ReportError, [&] { Search(); }); });
  connect(List, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) List->setCurrentIndex(index);
    GoToChosen();
  });
}

void FindWindow::Search() {
  const Text typed = FromQt(eText->text());
  // Nothing to search for: the index is not built for it.
  if (TrimControls(typed).empty()) {
    rows_->SetRows({});
    Count->clear();
    return;
  }
  const analysis::FindResult result = commands_.Finder().Find(typed);
  rows_->SetRows(FindRows(commands_.Index(), result));
  Count->setText(ToQt(FindCountText(typed, result)));
}

void FindWindow::GoToChosen() {
  std::optional<size_t> chosen;
  if (const QModelIndex current = List->currentIndex(); current.isValid()) chosen = static_cast<size_t>(current.row());
  const std::optional<size_t> row = FindRowToSelect(chosen, rows_->Rows());
  if (!row) return;
  const TObjectType typ = rows_->Row(*row).typ;
  const uint32_t index = rows_->Row(*row).index;
  Guarded(ReportError, [&] { commands_.GoToObject(typ, index); });
}

void FindWindow::keyPressEvent(QKeyEvent* event) {
  // The text box and the list hand Enter on to their window.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    GoToChosen();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace brannock::ui
