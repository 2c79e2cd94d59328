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

#include "ui/logic/find_window.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/view_choice.h"
#include "ui/logic/window_sizes.h"
#include "ui/qt/about_dialog.h"
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
    : QMainWindow(parent),
      TObjectCommands(catalogue, ProgramMessages(), {options.tools, options.view, options.source}),
      TFindCommands(catalogue),
      TCheckCommands(catalogue, options.source, options.view),
      TComparisonCommands(options.view ? options.view->Store() : catalogue.Backend(), options.view),
      TTreeCommands(catalogue, *this, {options.view, options.source}),
      options_(std::move(options)) {
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
  statusDisplay_ = QtBusyDisplay(this, sb);
  sb->setMinimumWidth(main_size::kStatusPanelWidth);
  statusBar()->addWidget(sb);
  sbSource = new QLabel(ToQt(options_.sourceText), this);
  QStringList skipped;
  for (const Text& line : options_.sourceSkipped) skipped << ToQt(line);
  sbSource->setToolTip(skipped.join('\n'));
  statusBar()->addWidget(sbSource, 1);
  sbCompare = new QLabel(this);
  sbCompare->hide();
  statusBar()->addPermanentWidget(sbCompare);
  sbView = new QLabel(this);
  statusBar()->addPermanentWidget(sbView);
  statusBar()->setSizeGripEnabled(true);
  BuildMenus();
  ShowView();

  resize(main_size::kClientWidth, main_size::kClientHeight);
  Splitter->setSizes(
      {main_size::kTreeWidth, main_size::kClientWidth - main_size::kTreeWidth - Splitter->handleWidth()});
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r(QPoint(), size());
    r.moveCenter(screen->availableGeometry().center());
    move(r.topLeft());
  }

  connect(Tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* n) { Guarded(ReportError, [&] { TreeExpanding(n); }); });
  connect(Tree, &QTreeWidget::itemSelectionChanged, this, [this] {
    Guarded(ReportError, [&] { TreeChange(Tree->selectedItems().value(0)); });
  });
  connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { Guarded(ReportError, [&] { cmViewTLB(); }); });
  connect(RegTree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* line) { Guarded(ReportError, [&] { RegTreeChange(line); }); });

  pc->setCurrentWidget(tsRegistry);
  pc->hide();
  connect(pc, &QTabWidget::currentChanged, this, [this] { Guarded(ReportError, [&] { PageChange(); }); });
  connect(RefList, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { Guarded(ReportError, [&] { RefListDblClick(item); }); });
  catalogue_.Environment.clear();
  if (!options_.batchFailed) {
    catalogue_.CaptureEnvironment();
    CreateTree();
  }
  SetMainWindow(this);
}

TfrmMain::~TfrmMain() {
  if (!settingsWritten_) Guarded(ReportError, [&] { WriteWindowSettings(); });
  // The controls go after the commands they call: none may call them then.
  for (QObject* control : std::initializer_list<QObject*>{Tree, pc, RefList, RegTree})
    disconnect(control, nullptr, this, nullptr);
  SetMainWindow(nullptr);
}

QWidget* TfrmMain::BuildDetailPane() {
  auto* panel = new QWidget(this);
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(main_size::kPaneBorder, main_size::kPaneBorder, main_size::kPaneBorder, main_size::kPaneBorder);

  auto* header = new QWidget(panel);
  header->setFixedHeight(main_size::kHeaderHeight);
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
  Memo->setFixedHeight(main_size::kMemoHeight);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  page->addWidget(Memo);
  auto* buttons = new QWidget(tsRegistry);
  buttons->setFixedHeight(main_size::kButtonRowHeight);
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(0, 0, 0, 0);
  bView = Button("Type Library...", main_size::kWideButtonWidth, buttons);
  bCopy = Button("Copy to Clipboard", main_size::kWideButtonWidth, buttons);
  bReg = Button("Register", main_size::kButtonWidth, buttons);
  bUnreg = Button("Unregister", main_size::kButtonWidth, buttons);
  row->addWidget(bView);
  row->addWidget(bCopy);
  row->addStretch(1);
  row->addWidget(bReg);
  row->addWidget(bUnreg);
  page->addWidget(buttons);
  pc->addTab(tsRegistry, " Registry ");
  pc->addTab(BuildReferencesPage(), ToQt(kReferencesTab));
  BuildSecurityPage();  // added as a page for the objects it applies to
  v->addWidget(pc, 1);

  connect(bView, &QPushButton::clicked, this, [this] { Guarded(ReportError, [&] { cmViewTLB(); }); });
  connect(bCopy, &QPushButton::clicked, this, [this] { Guarded(ReportError, [&] { bCopyClick(); }); });
  connect(bReg, &QPushButton::clicked, this, [this] { Guarded(ReportError, [&] { bRegClick(0); }); });
  connect(bUnreg, &QPushButton::clicked, this, [this] { Guarded(ReportError, [&] { bRegClick(1); }); });
  return panel;
}

void TfrmMain::BuildMenus() {
  auto action = [this](QMenu* menu, const QString& caption, auto handler) {
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, handler] { Guarded(ReportError, [&] { handler(); }); });
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
    connect(*saveItems[tag], &QAction::triggered, this, [this, tag] { Guarded(ReportError, [&] { cmSave(tag); }); });
  }
  file->addSeparator();
  mmRefresh = action(file, "Refresh", [this] { cmRefresh(); });
  mmRefresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  file->addSeparator();
  mmCompareWith = action(file, ToQt(kCompareWithCaption), [this] { cmCompareWith(); });
  mmEndComparison = action(file, ToQt(kEndComparisonCaption), [this] { cmEndComparison(); });
  mmEndComparison->setEnabled(false);
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
  object->addSeparator();
  mmCheck = action(object, Utf16ToUtf8(kCheckMenuItem).c_str(), [this] { cmCheckRegistrations(); });
  for (QAction* a : {mmView, mmCreateInst, mmReg, mmUnreg}) a->setEnabled(false);

  QMenu* help = menuBar()->addMenu("Help");
  mmAbout = action(help, "About...", [this] { cmAbout(); });
}

void TfrmMain::BuildViewMenu() {
  QMenu* menu = menuBar()->addMenu("View");
  mmFind = menu->addAction(ToQt(kFindMenuItem));
  mmFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(mmFind, &QAction::triggered, this, [this] { Guarded(ReportError, [&] { cmFind(); }); });
  if (!options_.view) return;
  menu->addSeparator();
  auto* group = new QActionGroup(this);
  group->setExclusive(true);
  for (registry::RegistryView view : kViewItems) {
    QAction* a = menu->addAction(ToQt(ViewItemCaption(view, *options_.view)));
    a->setCheckable(true);
    a->setEnabled(ViewItemEnabled(view, *options_.view));
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, view] { Guarded(ReportError, [&] { cmChooseView(view); }); });
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

void TfrmMain::cmAbout() { ShowAbout(this); }

}  // namespace brannock::ui
