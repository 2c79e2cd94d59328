#include "ui/qt/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalogue/list_file.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/batch_update.h"
#include "ui/qt/branch_line_style.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/view_choice.h"
#include "ui/logic/object_pane.h"
#include "ui/qt/busy.h"
#include "ui/qt/error_report.h"
#include "ui/qt/header_icon.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/settings_file.h"
#include "ui/qt/message_boxes.h"

namespace brannock::ui {

namespace {

TfrmMain::SaveFileChooser& Chooser() {
  static TfrmMain::SaveFileChooser chooser = [](QWidget* owner, const QString& suggested) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({ToQt(kListFileFilterName), "All files (*)"});
    dialog.setDefaultSuffix(ToQt(kListFileExtension));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  };
  return chooser;
}

QPushButton* Button(const char* caption, int width, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setFixedWidth(width);
  return b;
}

QLineEdit* HeaderField(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setFrame(false);
  e->setReadOnly(true);
  QPalette pal = e->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Window));
  e->setPalette(pal);
  return e;
}

}  // namespace

void TfrmMain::SetSaveFileChooser(SaveFileChooser chooser) { Chooser() = std::move(chooser); }

// FormCreate: the batch switches were handled before the window exists
// (see app/qt/main.cpp); what is left is the window's own start.
TfrmMain::TfrmMain(Catalogue& catalogue, Options options, QWidget* parent)
    : QMainWindow(parent), catalogue_(catalogue), options_(std::move(options)) {
  setObjectName("frmMain");
  setWindowTitle(ToQt(kApplicationTitle));
  setFont(QFont("Tahoma", 8));

  Tree = new ObjectTree(this);
  Splitter = new QSplitter(Qt::Horizontal, this);
  Splitter->addWidget(Tree);
  Splitter->addWidget(BuildDetailPane());
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setChildrenCollapsible(false);
  setCentralWidget(Splitter);

  sb = new QLabel("Ready", this);
  sb->setMinimumWidth(50);
  statusBar()->addWidget(sb);
  sbSource = new QLabel(ToQt(options_.sourceText), this);
  QStringList skipped;
  for (const Text& line : options_.sourceSkipped) skipped << ToQt(line);
  sbSource->setToolTip(skipped.join('\n'));
  statusBar()->addWidget(sbSource, 1);
  sbView = new QLabel(this);
  statusBar()->addPermanentWidget(sbView);
  statusBar()->setSizeGripEnabled(true);
  BuildMenus();
  ShowView();

  resize(792, 554);
  Splitter->setSizes({301, 792 - 301 - Splitter->handleWidth()});
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r(QPoint(), size());
    r.moveCenter(screen->availableGeometry().center());
    move(r.topLeft());
  }

  connect(Tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* n) { Guarded([&] { TreeExpanding(n); }); });
  connect(Tree, &QTreeWidget::itemSelectionChanged, this, [this] {
    Guarded([&] { TreeChange(Tree->selectedItems().value(0)); });
  });
  connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { Guarded([&] { cmViewTLB(); }); });
  connect(RegTree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* line) { Guarded([&] { RegTreeChange(line); }); });

  pc->setCurrentWidget(tsRegistry);
  pc->hide();
  catalogue_.Environment.clear();
  if (!options_.batchFailed) {
    catalogue_.CaptureEnvironment();
    CreateTree();
  }
  SetMainWindow(this);
}

TfrmMain::~TfrmMain() {
  if (!settingsWritten_) Guarded([&] { WriteWindowSettings(); });
  SetMainWindow(nullptr);
}

QWidget* TfrmMain::BuildDetailPane() {
  auto* panel = new QWidget(this);
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(5, 5, 5, 5);

  auto* header = new QWidget(panel);
  header->setFixedHeight(41);
  auto* h = new QHBoxLayout(header);
  h->setContentsMargins(0, 0, 0, 0);
  imgDefaultIcon = new QLabel(header);
  imgDefaultIcon->setFixedSize(32, 32);
  imgDefaultIcon->setAlignment(Qt::AlignCenter);
  h->addWidget(imgDefaultIcon);
  auto* names = new QVBoxLayout();
  names->setSpacing(0);
  eName = HeaderField(header);
  QFont bold = eName->font();
  bold.setBold(true);
  eName->setFont(bold);
  eGUID = HeaderField(header);
  names->addWidget(eName);
  names->addWidget(eGUID);
  h->addLayout(names, 1);
  v->addWidget(header);

  pc = new QTabWidget(panel);
  tsRegistry = new QWidget(pc);
  auto* page = new QVBoxLayout(tsRegistry);
  RegTree = new QTreeWidget(tsRegistry);
  RegTree->setHeaderHidden(true);
  RegTree->setColumnCount(1);
  RegTree->setRootIsDecorated(false);
  RegTree->setItemsExpandable(false);
  RegTree->setUniformRowHeights(true);
  auto* branchStyle = new BranchLineStyle();
  branchStyle->setParent(RegTree);
  RegTree->setStyle(branchStyle);
  QPalette pal = RegTree->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Button));
  RegTree->setPalette(pal);
  page->addWidget(RegTree, 1);
  Memo = new QPlainTextEdit(tsRegistry);
  Memo->setReadOnly(true);
  Memo->setFixedHeight(107);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  page->addWidget(Memo);
  auto* buttons = new QWidget(tsRegistry);
  buttons->setFixedHeight(38);
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(0, 0, 0, 0);
  bView = Button("Type Library...", 100, buttons);
  bCopy = Button("Copy to Clipboard", 100, buttons);
  bReg = Button("Register", 75, buttons);
  bUnreg = Button("Unregister", 75, buttons);
  row->addWidget(bView);
  row->addWidget(bCopy);
  row->addStretch(1);
  row->addWidget(bReg);
  row->addWidget(bUnreg);
  page->addWidget(buttons);
  pc->addTab(tsRegistry, " Registry ");
  v->addWidget(pc, 1);

  connect(bView, &QPushButton::clicked, this, [this] { Guarded([&] { cmViewTLB(); }); });
  connect(bCopy, &QPushButton::clicked, this, [this] { Guarded([&] { bCopyClick(); }); });
  connect(bReg, &QPushButton::clicked, this, [this] { Guarded([&] { bRegClick(0); }); });
  connect(bUnreg, &QPushButton::clicked, this, [this] { Guarded([&] { bRegClick(1); }); });
  return panel;
}

void TfrmMain::BuildMenus() {
  auto action = [this](QMenu* menu, const char* caption, auto handler) {
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, handler] { Guarded([&] { handler(); }); });
    return a;
  };
  QMenu* file = menuBar()->addMenu("File");
  mmViewTypeLib = action(file, "View TypeLib...", [this] { cmViewTypeLib(); });
  file->addSeparator();
  mmHex = action(file, "Display Binary as Hex", [this] { mmHexClick(); });
  mmHex->setCheckable(true);
  mmHex->setChecked(true);
  file->addSeparator();
  QMenu* save = file->addMenu("Save");
  QAction** saveItems[kSaveCommandCount] = {&mmSaveAppId, &mmSaceIntf, &mmSaveObjCls, &mmSaveTLB};
  for (int tag = 0; tag < kSaveCommandCount; ++tag) {
    *saveItems[tag] = save->addAction(ToQt(SaveCommandFor(tag)->caption));
    connect(*saveItems[tag], &QAction::triggered, this, [this, tag] { Guarded([&] { cmSave(tag); }); });
  }
  file->addSeparator();
  mmRefresh = action(file, "Refresh", [this] { cmRefresh(); });
  mmRefresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  file->addSeparator();
  mmExit = action(file, "Exit", [this] { cmExit(); });

  BuildViewMenu();

  QMenu* object = menuBar()->addMenu("Object");
  mmView = action(object, "View Type Information...", [this] { cmViewTLB(); });
  object->addSeparator();
  mmCreateInst = action(object, "Create instance", [this] { cmCreateInst(); });
  object->addSeparator();
  mmReg = action(object, "Register Server", [this] { bRegClick(0); });
  mmUnreg = action(object, "Unregister Server", [this] { bRegClick(1); });
  for (QAction* a : {mmView, mmCreateInst, mmReg, mmUnreg}) a->setEnabled(false);

  QMenu* help = menuBar()->addMenu("Help");
  mmAbout = action(help, "About...", [this] { cmAbout(); });
}

void TfrmMain::BuildViewMenu() {
  if (!options_.view) return;
  QMenu* menu = menuBar()->addMenu("View");
  auto* group = new QActionGroup(this);
  group->setExclusive(true);
  for (registry::RegistryView view : kViewItems) {
    QAction* a = menu->addAction(ToQt(ViewItemCaption(view, *options_.view)));
    a->setCheckable(true);
    a->setEnabled(ViewItemEnabled(view, *options_.view));
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, view] { Guarded([&] { cmChooseView(view); }); });
    (view == registry::RegistryView::Bits64 ? mmView64 : mmView32) = a;
  }
}

// The chosen view in the menu, the title and the status bar.
void TfrmMain::ShowView() {
  if (!options_.view) {
    setWindowTitle(ToQt(kApplicationTitle));
    sbView->hide();
    return;
  }
  const registry::RegistryView view = options_.view->View();
  setWindowTitle(ToQt(MainWindowTitle(kApplicationTitle, view)));
  sbView->setText(ToQt(ViewStatusText(view)));
  mmView64->setChecked(view == registry::RegistryView::Bits64);
  mmView32->setChecked(view == registry::RegistryView::Bits32);
}

void TfrmMain::cmChooseView(registry::RegistryView view) {
  if (!options_.view) return;
  if (SwitchView(*options_.view, catalogue_, view)) {
    // Every list, record and detail line came from the other view: none
    // stays, also when reading the new view fails half-way.
    eName->clear();
    eGUID->clear();
    imgDefaultIcon->clear();
    RegTree->clear();
    Memo->clear();
    pc->hide();
    ShowView();
    Refresh();
  }
  ShowView();
}

// ---------------------------------------------------------------- object tree

QTreeWidgetItem* TfrmMain::RootOf(TObjectType typ) const {
  for (int i = 0; i < Tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* root = Tree->topLevelItem(i);
    if (ObjectTree::NodeOf(root)->Node().Typ == typ) return root;
  }
  return nullptr;
}

void TfrmMain::CreateTree() {
  BatchUpdate batch(Tree);
  Tree->clear();
  for (const RootInfo& info : kRoots)
    Tree->addTopLevelItem(new ObjectNodeItem(TObjectNode{info.caption, info.typ, 0, {}}));
  OCRoot = RootOf(TObjectType::otCLSID);
  AIRoot = RootOf(TObjectType::otAppID);
  TLRoot = RootOf(TObjectType::otTypeLib);
  IFRoot = RootOf(TObjectType::otInterface);
  SetTree();
}

void TfrmMain::SetTree() {
  for (int i = 0; i < Tree->topLevelItemCount(); ++i)
    Tree->topLevelItem(i)->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void TfrmMain::FillKey(QTreeWidgetItem* root, const TObjects& list) {
  const TObjectType typ = ObjectTree::NodeOf(root)->Node().Typ;
  BatchUpdate batch(Tree);
  std::vector<TextView> names;
  names.reserve(list.size());
  for (const TObjectData& d : list) names.push_back(d.Name);
  QList<QTreeWidgetItem*> children;
  children.reserve(static_cast<qsizetype>(list.size()));
  for (int32_t i : SortedChildOrder(names))
    children.push_back(new ObjectNodeItem(TObjectNode{list[static_cast<size_t>(i)].Name, typ, i, {}}));
  root->addChildren(children);
}

void TfrmMain::TreeExpanding(QTreeWidgetItem* node) {
  if (!node || node->childCount() > 0 || (node->parent() && node->parent()->parent())) return;
  QtBusyScope busy(this, sb, BusyScope::Cursor::Wait);
  if (node->parent()) return;
  const TObjectType typ = ObjectTree::NodeOf(node)->Node().Typ;
  if (catalogue_.List(typ).empty()) catalogue_.ReadList(typ);
  FillKey(node, catalogue_.List(typ));
  // A root that is still empty closes again, so that the next click on it
  // reads its collection anew (open, it would take one click to close first).
  if (node->childCount() == 0) {
    QSignalBlocker quiet(Tree);
    node->setExpanded(false);
  }
}

void TfrmMain::Refresh() {
  QtBusyScope busy(this, sb, BusyScope::Cursor::Wait);
  // Nothing read is kept: a file source whose files changed (a registration,
  // an edited export) is read again before the trees are rebuilt from it.
  if (options_.source) options_.source->ReloadIfChanged();
  CreateTree();
  for (const ObjectKind& kind : kObjectKinds) {
    catalogue_.ReadList(kind.typ);
    FillKey(RootOf(kind.typ), catalogue_.List(kind.typ));
  }
}

// ---------------------------------------------------------------- detail pane

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
  ShowDetails(node);
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
  const CommandStates& states = pane->states;
  for (QWidget* w : std::initializer_list<QWidget*>{bReg, bUnreg}) w->setEnabled(states.registerServer);
  mmReg->setEnabled(states.registerServer);
  mmUnreg->setEnabled(states.registerServer);
  mmCreateInst->setEnabled(states.createInstance);
  mmView->setEnabled(states.viewTypeLib);
  bView->setEnabled(states.viewTypeLib);
  bCopy->setEnabled(true);
  eGUID->setText(ToQt(pane->guid));
  eGUID->setCursorPosition(0);
  {
    BatchUpdate batch(RegTree);
    RegTree->clear();
    FillRegTree(pane->lines, !pane->error);
  }
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

void TfrmMain::RegTreeChange(QTreeWidgetItem* line) {
  Memo->clear();
  if (line) Memo->setPlainText(line->text(0));
}

void TfrmMain::mmHexClick() { TreeChange(Tree->currentItem()); }

// ---------------------------------------------------------------- commands

void TfrmMain::cmSave(int tag) {
  const std::optional<SaveCommand> command = SaveCommandFor(tag);
  if (!command) return;
  const QString file = Chooser()(this, ToQt(command->suggestedFile));
  if (file.isEmpty()) return;
  QtBusyScope busy;
  if (catalogue_.List(command->typ).empty()) catalogue_.ReadList(command->typ);
  SaveList(std::filesystem::path(file.toStdString()), catalogue_.List(command->typ));
}

void TfrmMain::bCopyClick() {
  std::vector<SummaryLine> lines;
  std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int level) {
    lines.push_back({level, FromQt(item->text(0))});
    for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), level + 1);
  };
  for (int i = 0; i < RegTree->topLevelItemCount(); ++i) walk(RegTree->topLevelItem(i), 0);
  const Text text = CopySummaryText(FromQt(eName->text()), FromQt(eGUID->text()), lines);
  QGuiApplication::clipboard()->setText(ToQt(text));
}

void TfrmMain::cmAbout() { ShowAbout(this); }

// ---------------------------------------------------------------- settings

void TfrmMain::setVisible(bool visible) {
  if (visible && !settingsRead_) Guarded([&] { ReadWindowSettings(); });
  QMainWindow::setVisible(visible);
  if (visible && minimizeAfterShow_) {
    minimizeAfterShow_ = false;
    showMinimized();
  }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  event->accept();
  Guarded([&] { WriteWindowSettings(); });
}

ScreenInfo TfrmMain::Screens() const {
  ScreenInfo info;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return info;
  const QRect desktop = primary->virtualGeometry();
  info.desktopWidth = desktop.width();
  info.desktopHeight = desktop.height();
  info.pixelsPerInch = qRound(primary->logicalDotsPerInch());
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->geometry();
    info.monitors.push_back({g.x(), g.y(), g.x() + g.width(), g.y() + g.height()});
  }
  return info;
}

Placement TfrmMain::CurrentPlacement() const {
  Placement p;
  p.showCmd = isMinimized() ? 2 : isMaximized() ? 3 : 1;
  const QRect n = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  p.normal = {n.x(), n.y(), n.x() + n.width(), n.y() + n.height()};
  return p;
}

void TfrmMain::ReadWindowSettings() {
  settingsRead_ = true;
  if (!options_.settings) return;
  const ScreenInfo screens = Screens();
  const StoredSettings stored = ReadStoredSettings(options_.settings->Store(), screens);
  const RestorePlan plan =
      PlanRestore(stored, CurrentPlacement(), isVisible(), screens, {x(), y(), width(), height()});
  if (!plan.read) return;
  if (plan.applyPlacement || plan.offMonitor) {
    Rect r = plan.placement.normal;
    if (plan.offMonitor) {
      // Off the screens: moved onto the nearest one's available area.
      std::vector<Rect> areas;
      for (QScreen* s : QGuiApplication::screens()) {
        const QRect a = s->availableGeometry();
        areas.push_back({a.x(), a.y(), a.x() + a.width(), a.y() + a.height()});
      }
      if (const std::optional<Rect> area = NearestMonitor(r, areas)) r = MoveOntoMonitor(r, *area);
    }
    setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  switch (plan.show) {
    case ShowState::Maximized: setWindowState(windowState() | Qt::WindowMaximized); break;
    case ShowState::Minimized: minimizeAfterShow_ = true; break;
    case ShowState::Normal: break;
  }
  if (plan.treeWidth && *plan.treeWidth > 0) {
    const int total = std::max(width() - Splitter->handleWidth(), *plan.treeWidth + 1);
    Splitter->setSizes({*plan.treeWidth, total - *plan.treeWidth});
  }
}

void TfrmMain::WriteWindowSettings() {
  settingsWritten_ = true;
  if (!options_.settings) return;
  CurrentSettings current;
  current.placement = CurrentPlacement();
  current.applicationMinimized = isMinimized();
  current.pixelsPerInch = Screens().pixelsPerInch;
  current.treeWidth = Splitter->sizes().value(0, Tree->width());
  WriteSettings(options_.settings->Store(), Screens(), settingsRead_, current);
  if (options_.view) WriteStoredView(options_.settings->Store(), options_.view->View());
  options_.settings->Save();
}

}  // namespace brannock::ui
