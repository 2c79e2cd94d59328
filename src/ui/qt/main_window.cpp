#include "ui/qt/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/logic/main_window_text.h"
#include "ui/logic/view_choice.h"
#include "ui/qt/branch_line_style.h"
#include "ui/qt/error_report.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

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

}  // namespace brannock::ui
