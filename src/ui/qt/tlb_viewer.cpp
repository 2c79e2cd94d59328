#include "ui/qt/tlb_viewer.h"

#include <Qsci/qsciprinter.h>

#include <QAction>
#include <QActionGroup>
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

TfrmTLBView::TfrmTLBView(QWidget* owner) : QDialog(owner), TViewerCommands(ProgramMessages()) { FormCreate(); }

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
  statusDisplay_ = QtBusyDisplay(sb, sbPanel0);
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
  mmFind = Edit1->addAction(QStringLiteral("Find..."), this, [this] { cmFind(); });
  mmFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  mmFindNext = Edit1->addAction(QStringLiteral("Find Next"), this, [this] { cmFindNext(); });
  mmFindNext->setShortcut(QKeySequence(Qt::Key_F3));
  View1 = MainMenu->addMenu(QStringLiteral("View"));
  auto* languages = new QActionGroup(this);
  mmPascal = View1->addAction(QStringLiteral("Object Pascal"), this, [this] { cmLanguage(TUnitLanguage::Pascal); });
  mmIdl = View1->addAction(QStringLiteral("IDL"), this, [this] { cmLanguage(TUnitLanguage::Idl); });
  for (QAction* action : {mmPascal, mmIdl}) {
    action->setCheckable(true);
    languages->addAction(action);
  }
  mmPascal->setChecked(true);
  // The shortcuts work while the menus are closed.
  addActions({mmPrint, mmExit, mmFind, mmFindNext});
}

QString TfrmTLBView::TreeGetText(const TTypeNode& node, int childCount) {
  return ToQt(TypeNodeText(node, static_cast<size_t>(std::max(0, childCount))));
}

QIcon TfrmTLBView::TreeGetImageIndex(const TTypeNode& node) const {
  return ImageList[static_cast<size_t>(ViewerImageOf(node.Kind))];
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

void TfrmTLBView::SetLanguage(TUnitLanguage language) {
  mmPascal->setChecked(language == TUnitLanguage::Pascal);
  mmIdl->setChecked(language == TUnitLanguage::Idl);
  SynMemo->SetLanguage(language);
}

std::optional<TTypeNode> TfrmTLBView::FocusedTypeNode() const {
  QTreeWidgetItem* item = Tree->currentItem();
  if (!item) return std::nullopt;
  return TTypeTreeWidget::NodeOf(item);
}

void TfrmTLBView::SetUnitText(TextList lines) { SynMemo->setText(JoinLines(lines)); }

void TfrmTLBView::SelectRange(int64_t anchor, int64_t caret) {
  SynMemo->SelectRange(static_cast<int>(anchor), static_cast<int>(caret));
}

void TfrmTLBView::SelectApartFromCaret(int64_t selectionStart, int64_t selectionEnd, int64_t caret) {
  SynMemo->SelectApartFromCaret(static_cast<int>(selectionStart), static_cast<int>(selectionEnd),
                                static_cast<int>(caret));
}

void TfrmTLBView::SetFirstVisibleLine(int64_t line) { SynMemo->setFirstVisibleLine(static_cast<int>(line)); }
int64_t TfrmTLBView::CaretPosition() const { return SynMemo->CaretPosition(); }

int64_t TfrmTLBView::LineOfPosition(int64_t position) const {
  return SynMemo->LineOfPosition(static_cast<int>(position));
}

int64_t TfrmTLBView::PositionBefore(int64_t position) const {
  return SynMemo->PositionBefore(static_cast<int>(position));
}

namespace {

std::optional<TEditorMatch> EditorMatch(const std::optional<TViewerEditor::Match>& match) {
  if (!match) return std::nullopt;
  return TEditorMatch{match->start, match->end};
}

}  // namespace

std::optional<TEditorMatch> TfrmTLBView::FindDeclaration(TextView nodeText) {
  return EditorMatch(SynMemo->FindDeclaration(Text(nodeText), FLanguage));
}

std::optional<TEditorMatch> TfrmTLBView::Search(TextView what, int64_t from, const TFindOptions& options) {
  const TSearchRange range = FindRange(from, SynMemo->TextLength(), options.Forward);
  return EditorMatch(SynMemo->Search(ToQt(what), static_cast<int>(range.From), static_cast<int>(range.To),
                                     {options.MatchCase, options.WholeWord}));
}

Text TfrmTLBView::WordAtCaret() const { return FromQt(SynMemo->WordAtCaret()); }

TViewerCommands::CaretPlace TfrmTLBView::Caret() const {
  return {SynMemo->CaretLine(), SynMemo->CaretColumn(), SynMemo->LineCount()};
}

void TfrmTLBView::ShowCaretLine(bool show) { SynMemo->ShowCaretLine(show); }
void TfrmTLBView::FocusEditor() { SynMemo->setFocus(); }

TFindRequest TfrmTLBView::FindDialogRequest() const {
  return {FromQt(fd->FindText()), {fd->Down(), fd->MatchCase(), fd->WholeWord()}};
}

void TfrmTLBView::SetFindDown() { fd->SetDown(true); }

void TfrmTLBView::ShowFindDialog(TextView text) {
  fd->SetFindText(ToQt(text));
  fd->show();
  fd->raise();
  fd->activateWindow();
}

void TfrmTLBView::SetCaretStatus(TextView text) { sbPanel1->setText(ToQt(text)); }

void TfrmTLBView::TreeResize() { sbPanel0->setFixedWidth(Tree->width()); }

void TfrmTLBView::cmPrint() {
  QsciPrinter printer(QPrinter::HighResolution);
  QPrintDialog pd(&printer, this);
  if (pd.exec() != QDialog::Accepted) return;
  PrintTo(printer);
}

void TfrmTLBView::PrintTo(QsciPrinter& printer) {
  PrintWith([&](TextView jobTitle) { PrintViewerText(SynMemo->text(), printer, ToQt(jobTitle), FLanguage); });
}

void TfrmTLBView::cmExit() { reject(); }

std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                             QWidget* owner) {
  QtBusyDisplay cursor(nullptr, nullptr);
  return OpenTypeLibWindow<TfrmTLBView>(record, loader, cursor, ProgramMessages(),
                                        [owner] { return std::make_unique<TfrmTLBView>(owner); });
}

void ViewTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader, QWidget* owner) {
  QtBusyDisplay cursor(nullptr, nullptr);
  ViewTypeLibWindow<TfrmTLBView>(record, loader, cursor, ProgramMessages(),
                                 [owner] { return std::make_unique<TfrmTLBView>(owner); });
}

}  // namespace brannock::ui
