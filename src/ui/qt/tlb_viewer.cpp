#include "ui/qt/tlb_viewer.h"

#include <Qsci/qsciprinter.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <functional>

#include "ui/logic/type_tree.h"
#include "ui/logic/viewer_search.h"
#include "ui/logic/viewer_status.h"
#include "ui/logic/window_sizes.h"
#include "ui/qt/busy.h"
#include "ui/qt/error_report.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/type_tree_widget.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/viewer_editor.h"
#include "ui/qt/viewer_find_dialog.h"
#include "ui/qt/viewer_print.h"

namespace brannock::ui {

namespace {

using namespace viewer_size;

QString JoinLines(const TextList& lines) {
  size_t size = 0;
  for (const Text& line : lines) size += line.size() + 1;
  QString text;
  text.reserve(static_cast<qsizetype>(size));
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += ToQt(lines[i]);
  }
  return text;
}

}  // namespace

TfrmTLBView::TfrmTLBView(QWidget* owner) : QDialog(owner) { FormCreate(); }

TfrmTLBView::~TfrmTLBView() = default;

void TfrmTLBView::FormCreate() {
  FCurrentLine = -1;
  setWindowTitle(ToQt(kViewerCaption));
  setFont(QFont(QStringLiteral("Tahoma"), 8));
  ImageList = ViewerImageList();

  Tree = new TTypeTreeWidget(this);
  Tree->setObjectName(QStringLiteral("Tree"));
  SynMemo = new TViewerEditor(this);
  SynMemo->setObjectName(QStringLiteral("SynMemo"));
  Splitter = new QSplitter(Qt::Horizontal, this);
  Splitter->setHandleWidth(kSplitterWidth);
  Splitter->setChildrenCollapsible(false);
  Splitter->addWidget(Tree);
  Splitter->addWidget(SynMemo);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setSizes({kTreeWidth, kClientWidth - kTreeWidth - kSplitterWidth});

  sb = new QStatusBar(this);
  sb->setFixedHeight(kStatusBarHeight);
  sb->setSizeGripEnabled(false);
  sbPanel0 = new QLabel(ToQt(kReadyText), sb);
  sbPanel0->setFixedWidth(kTreeWidth);
  sbPanel1 = new QLabel(sb);
  sb->addWidget(sbPanel0);
  sb->addWidget(sbPanel1, 1);

  fd = new TFindDialog(this);
  CreateMenu();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu);
  layout->addWidget(Splitter, 1);
  layout->addWidget(sb);

  resize(kClientWidth, kClientHeight + MainMenu->sizeHint().height());
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - rect().center());

  connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { TreeDblClick(); });
  Tree->OnResize = [this] { TreeResize(); };
  SynMemo->OnStatusChange = [this] { SynMemoStatusChange(); };
  fd->OnFind = [this] { fdFind(); };
}

void TfrmTLBView::CreateMenu() {
  MainMenu = new QMenuBar(this);
  File1 = MainMenu->addMenu(QStringLiteral("File"));
  mmPrint = File1->addAction(QStringLiteral("Print..."), this, &TfrmTLBView::cmPrint);
  N1 = File1->addSeparator();
  mmExit = File1->addAction(QStringLiteral("Exit"), this, &TfrmTLBView::cmExit);
  mmExit->setShortcut(QKeySequence(Qt::Key_Escape));
  Edit1 = MainMenu->addMenu(QStringLiteral("Edit"));
  mmFind = Edit1->addAction(QStringLiteral("Find..."), this, &TfrmTLBView::cmFind);
  mmFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  mmFindNext = Edit1->addAction(QStringLiteral("Find Next"), this, &TfrmTLBView::cmFindNext);
  mmFindNext->setShortcut(QKeySequence(Qt::Key_F3));
  // The shortcuts work while the menus are closed.
  addActions({mmPrint, mmExit, mmFind, mmFindNext});
}

QString TfrmTLBView::TreeGetText(const TTypeNode& node, int childCount) {
  return ToQt(TypeNodeText(node, static_cast<size_t>(std::max(0, childCount))));
}

QIcon TfrmTLBView::TreeGetImageIndex(const TTypeNode& node) const {
  if (node.Kind < 0 || node.Kind >= kViewerImageCount) return {};
  return ImageList[static_cast<size_t>(node.Kind)];
}

QTreeWidgetItem* TfrmTLBView::AddNode(QTreeWidgetItem* parent, const TTypeNode& node, int childCount) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Tree);
  TTypeTreeWidget::SetNode(item, node);
  item->setText(0, TreeGetText(node, childCount));
  item->setIcon(0, TreeGetImageIndex(node));
  return item;
}

void TfrmTLBView::FillTree(typelib::TypeLib& lib) {
  Tree->setUpdatesEnabled(false);
  struct EndUpdate {
    QWidget* tree;
    ~EndUpdate() { tree->setUpdatesEnabled(true); }
  } endUpdate{Tree};

  Tree->clear();
  const TTypeTree tree = BuildTypeTree(lib);
  std::function<void(QTreeWidgetItem*, const TTypeTreeItem&)> add = [&](QTreeWidgetItem* parent,
                                                                          const TTypeTreeItem& item) {
    QTreeWidgetItem* node = AddNode(parent, item.Node, static_cast<int>(item.Children.size()));
    for (const TTypeTreeItem& child : item.Children) add(node, child);
  };
  add(nullptr, tree.Root);
  if (tree.Complete) Tree->topLevelItem(0)->setExpanded(true);
}

void TfrmTLBView::ShowUnit(TextList lines, Text unitName) {
  FUnitname = std::move(unitName);
  SynMemo->setText(JoinLines(lines));
  SynMemoStatusChange();
}

void TfrmTLBView::TreeDblClick() {
  QTreeWidgetItem* item = Tree->currentItem();
  if (!item) return;
  SynMemo->SelectRange(0, 0);
  SynMemo->setFirstVisibleLine(0);
  const Text& nodeText = TTypeTreeWidget::NodeOf(item).Text;
  std::optional<TViewerEditor::Match> match = SynMemo->FindDeclaration(nodeText);
  if (!match) match = SynMemo->Search(ToQt(DeclarationSearchText(nodeText)), 0, SynMemo->TextLength(), {});
  if (match) {
    const TDeclarationJump jump = DeclarationJump(SynMemo->LineOfPosition(match->start), match->start, match->end,
                                                  SynMemo->PositionBefore(match->start));
    SynMemo->SelectApartFromCaret(static_cast<int>(jump.SelectionStart), static_cast<int>(jump.SelectionEnd),
                                  static_cast<int>(jump.Caret));
    SynMemo->setFirstVisibleLine(static_cast<int>(jump.FirstVisibleLine));
  }
  SynMemo->setFocus();
}

void TfrmTLBView::TreeResize() { sbPanel0->setFixedWidth(Tree->width()); }

void TfrmTLBView::SynMemoStatusChange() {
  const int line = SynMemo->CaretLine();
  sbPanel1->setText(ToQt(CaretStatusText(line + 1, SynMemo->CaretColumn() + 1, SynMemo->LineCount())));
  FCurrentLine = line;
  SynMemo->ShowCaretLine(FCurrentLine >= 0);
}

bool TfrmTLBView::SearchFromCaret() {
  const bool forward = fd->Down();
  const TSearchRange range = FindRange(SynMemo->CaretPosition(), SynMemo->TextLength(), forward);
  const auto match = SynMemo->Search(fd->FindText(), static_cast<int>(range.From), static_cast<int>(range.To),
                                     {fd->MatchCase(), fd->WholeWord()});
  if (!match) return false;
  const TMatchSelection selection = MatchSelection(match->start, match->end, forward);
  SynMemo->SelectRange(static_cast<int>(selection.Anchor), static_cast<int>(selection.Caret));
  return true;
}

void TfrmTLBView::cmFind() {
  fd->SetFindText(SynMemo->WordAtCaret());
  fd->show();
  fd->raise();
  fd->activateWindow();
}

void TfrmTLBView::fdFind() {
  if (!SearchFromCaret()) ShowInfoBox(kTextNotFound);
}

void TfrmTLBView::cmFindNext() {
  fd->SetDown(true);
  fdFind();
  SynMemo->setFocus();
}

void TfrmTLBView::cmPrint() {
  QsciPrinter printer(QPrinter::HighResolution);
  QPrintDialog pd(&printer, this);
  if (pd.exec() != QDialog::Accepted) return;
  PrintTo(printer);
}

void TfrmTLBView::PrintTo(QsciPrinter& printer) {
  std::exception_ptr error;
  {
    QtBusyScope busy(sb, sbPanel0, BusyScope::Cursor::Wait, kPrintingText);
    try {
      PrintViewerText(SynMemo->text(), printer, ToQt(PrintJobTitle(kApplicationTitle, FUnitname)));
    } catch (...) {
      error = std::current_exception();
    }
  }
  // "Ready" and the normal cursor come back before an error is shown.
  if (error) ReportError(error);
}

void TfrmTLBView::cmExit() { reject(); }

std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                             QWidget* owner) {
  QtBusyScope busy;
  std::unique_ptr<TfrmTLBView> window;
  const std::optional<Text> failure = LoadTypeLibView(record, loader, [&]() -> TypeLibViewWindow& {
    window = std::make_unique<TfrmTLBView>(owner);
    return *window;
  });
  if (failure) {
    busy.End();
    ShowErrorBox(*failure);
    return nullptr;
  }
  return window;
}

void ViewTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader, QWidget* owner) {
  Guarded([&] {
    if (const std::unique_ptr<TfrmTLBView> window = OpenTypeLibView(record, loader, owner)) window->exec();
  });
}

}  // namespace brannock::ui
