// The main window driven on the fixture registry, offscreen.
#include <gtest/gtest.h>

#include <QScreen>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "registry/registry_reader.h"
#include "registry/viewed_registry.h"
#include "ui/logic/view_choice.h"
#include "registry/registry_source.h"
#include "ui/logic/window_settings.h"
#include "ui/qt/error_report.h"
#include "ui/qt/header_icon.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/settings_file.h"
#include "ui/qt/window_images.h"
#include "ui/qt/message_boxes.h"
#include "fixture_registry.h"
#include "qt_printers.h"
#include "typed_keys.h"
#include "tree_items.h"

namespace brannock::ui::testing {
namespace {

QStringList Children(QTreeWidgetItem* root) {
  QStringList out;
  for (int i = 0; i < root->childCount(); ++i) out << root->child(i)->text(0);
  return out;
}

QStringList TopLines(QTreeWidget* tree) {
  QStringList out;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(0);
  return out;
}

std::string ReadAll(const QString& file) {
  std::ifstream in(file.toStdString(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class MainWindowTest : public ::testing::Test {
 protected:
  CountingStore store_;
  std::unique_ptr<Catalogue> catalogue_;
  std::unique_ptr<TfrmMain> w_;
  QStringList reports_;
  QStringList boxes_;

  MainWindowTest() {
    FillFixture(store_);
    SetErrorReportHook([this](const Text& t) { reports_ << ToQt(t); });
    SetMessageBoxHook([this](BoxKind, const Text& t, const Text& caption) { boxes_ << ToQt(caption + u": " + t); });
  }
  ~MainWindowTest() override {
    w_.reset();
    SetErrorReportHook(nullptr);
    SetMessageBoxHook(nullptr);
  }

  void Open(TfrmMain::Options options = TfrmMain::Options()) {
    w_.reset();
    catalogue_ = std::make_unique<Catalogue>(store_);
    w_ = std::make_unique<TfrmMain>(*catalogue_, std::move(options));
    w_->show();
  }
};

TEST_F(MainWindowTest, LayoutAndInitialState) {
  Open();
  EXPECT_EQ(w_->windowTitle(), QString("Brannock"));
  EXPECT_EQ(TopLines(w_->Tree), (QStringList{"Object Classes", "Application IDs", "Type Libraries", "Interfaces"}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(w_->Tree->topLevelItem(i)->childCount(), 0);
    EXPECT_EQ(w_->Tree->topLevelItem(i)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  }
  EXPECT_EQ(w_->size(), QSize(792, 554));
  EXPECT_EQ(w_->Splitter->sizes().value(0), 301);
  EXPECT_TRUE(!w_->pc->isVisible());
  EXPECT_EQ(w_->pc->tabText(0), QString(" Registry "));
  EXPECT_EQ(w_->sb->text(), QString("Ready"));
  EXPECT_TRUE(w_->mmHex->isChecked());
  EXPECT_TRUE(!w_->mmView->isEnabled() && !w_->mmCreateInst->isEnabled() && !w_->mmReg->isEnabled());
  EXPECT_TRUE(w_->mmRefresh->isEnabled());
  EXPECT_EQ(w_->mmRefresh->shortcut(), QKeySequence("Ctrl+R"));
  EXPECT_TRUE(w_->eName->font().bold());
  EXPECT_TRUE(w_->eName->isReadOnly() && w_->eGUID->isReadOnly());
  EXPECT_EQ(w_->Memo->height(), 107);
  EXPECT_TRUE(!catalogue_->Environment.empty());
  EXPECT_EQ(store_.Opens(u"CLSID"), 0);  // nothing read at start
}

TEST_F(MainWindowTest, StatusBarNamesTheSource) {
  TfrmMain::Options options;
  options.sourceText = u"Demo registry";
  options.sourceSkipped = {u"$WINEPREFIX /tmp/p skipped: no such folder",
                           u"~/.wine skipped: not a Wine prefix (no system.reg)"};
  Open(std::move(options));
  EXPECT_EQ(w_->sbSource->text(), QString("Demo registry"));
  EXPECT_EQ(w_->sbSource->toolTip(), QString("$WINEPREFIX /tmp/p skipped: no such folder\n"
                                            "~/.wine skipped: not a Wine prefix (no system.reg)"));
  EXPECT_TRUE(w_->sbSource->isVisible());
  EXPECT_TRUE(w_->sbSource->x() > w_->sb->x());
  w_->OCRoot->setExpanded(true);
  EXPECT_EQ(w_->sb->text(), QString("Ready"));
  EXPECT_EQ(w_->sbSource->text(), QString("Demo registry"));
}

TEST_F(MainWindowTest, ProgramIconAtEverySize) {
  const QIcon icon = ProgramIcon();
  for (int size : {16, 32, 48, 128, 256}) {
    const QImage image = PaintProgramIcon(size);
    EXPECT_EQ(image.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    QSet<QRgb> colours;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) colours.insert(image.pixel(x, y));
    EXPECT_TRUE(colours.size() > 4) << qPrintable(QString::number(size));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
  }
}

TEST_F(MainWindowTest, ExpansionReadsOnceAndSorts) {
  Open();
  w_->Tree->setCurrentItem(w_->OCRoot);
  EXPECT_EQ(w_->eGUID->text(), QString("Expand node to retrieve items"));
  w_->OCRoot->setExpanded(true);
  EXPECT_EQ(store_.Opens(u"CLSID"), 1);
  // Stable, case-folding order: the two spellings of "alpha class" keep
  // their list order ({C1} before {C4}).
  EXPECT_EQ(Children(w_->OCRoot), (QStringList{"Alpha Class", "alpha class", "beta", "Gamma"}));
  auto* first = ObjectTree::NodeOf(w_->OCRoot->child(0));
  EXPECT_EQ(first->Node().Index, 0);
  EXPECT_EQ(ObjectTree::NodeOf(w_->OCRoot->child(1))->Node().Index, 3);
  // The root shows its collection's folder, an object its emblem.
  const auto imageOf = [](bool root) { return TreeImages()[TreeGetImageIndex(root, TObjectType::otCLSID)].cacheKey(); };
  EXPECT_EQ(w_->OCRoot->icon(0).cacheKey(), imageOf(true));
  EXPECT_EQ(w_->OCRoot->child(0)->icon(0).cacheKey(), imageOf(false));
  EXPECT_EQ(w_->sb->text(), QString("Ready"));
  EXPECT_TRUE(!QApplication::overrideCursor());

  w_->OCRoot->setExpanded(false);
  w_->OCRoot->setExpanded(true);
  EXPECT_EQ(store_.Opens(u"CLSID"), 1);
  w_->Tree->setCurrentItem(w_->AIRoot);
  w_->Tree->setCurrentItem(w_->OCRoot);
  EXPECT_EQ(w_->eGUID->text(), QString("Node contains 4 items"));
}

TEST_F(MainWindowTest, EmptyCollectionIsReadAgain) {
  CountingStore empty;
  Catalogue catalogue(empty);
  TfrmMain w(catalogue, TfrmMain::Options());
  w.show();
  w.IFRoot->setExpanded(true);
  const int perRead = empty.Opens(u"Interface");  // every access mask is tried on a missing key
  EXPECT_TRUE(perRead > 0);
  // The empty root closed again: the next expansion, one click, reads anew.
  EXPECT_TRUE(!w.IFRoot->isExpanded());
  w.IFRoot->setExpanded(true);
  EXPECT_EQ(w.IFRoot->childCount(), 0);
  EXPECT_EQ(empty.Opens(u"Interface"), 2 * perRead);
  EXPECT_TRUE(!w.IFRoot->isExpanded());
  EXPECT_EQ(w.IFRoot->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_EQ(w.sb->text(), QString("Ready"));
}

TEST_F(MainWindowTest, RefreshFillsAllRootsCollapsed) {
  Open();
  w_->OCRoot->setExpanded(true);
  w_->Tree->setCurrentItem(w_->OCRoot->child(0));
  w_->mmRefresh->trigger();
  EXPECT_EQ(store_.Opens(u"CLSID"), 2);  // read anew
  EXPECT_EQ(w_->Tree->topLevelItemCount(), 4);
  EXPECT_EQ(w_->OCRoot->childCount(), 4);
  EXPECT_EQ(Children(w_->AIRoot), (QStringList{"Alpha App", "app.exe"}));
  EXPECT_EQ(Children(w_->TLRoot), (QStringList{"Alpha Library"}));
  EXPECT_EQ(Children(w_->IFRoot), (QStringList{"IAlpha"}));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(!w_->Tree->topLevelItem(i)->isExpanded());
  EXPECT_TRUE(w_->Tree->selectedItems().isEmpty());
  EXPECT_EQ(w_->sb->text(), QString("Ready"));
}

TEST_F(MainWindowTest, TypingSelectsIncrementally) {
  Open();
  w_->OCRoot->setExpanded(true);
  w_->Tree->setFocus();
  w_->Tree->setCurrentItem(w_->OCRoot);
  TypeAt(w_->Tree, "gam", 10000);
  EXPECT_EQ(w_->Tree->currentItem()->text(0), QString("Gamma"));
  EXPECT_EQ(w_->eName->text(), QString("Gamma"));
  TypeAt(w_->Tree, "Inter", 12000);  // a new search after a pause, from the focused node on
  EXPECT_EQ(w_->Tree->currentItem()->text(0), QString("Interfaces"));
  TypeAt(w_->Tree, "be", 14000);
  EXPECT_EQ(w_->Tree->currentItem()->text(0), QString("beta"));  // round from the first node
}

TEST_F(MainWindowTest, SelectingObjectsFillsThePane) {
  TfrmMain::Options wine;
  wine.tools = {ToolHost::Kind::Wine, "/fake/prefix"};
  Open(std::move(wine));
  w_->mmRefresh->trigger();
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
  EXPECT_TRUE(w_->pc->isVisible());
  EXPECT_EQ(w_->eGUID->text(), QString("{C1}"));
  EXPECT_EQ(TopLines(w_->RegTree), (QStringList{"CLSID", "TypeLib", "AppID", "Alpha.Class.1 = Alpha Class"}));
  EXPECT_TRUE(w_->RegTree->topLevelItem(3)->font(0).bold());
  EXPECT_TRUE(!w_->RegTree->topLevelItem(0)->child(0)->font(0).bold());
  EXPECT_TRUE(w_->RegTree->topLevelItem(0)->child(0)->isExpanded() || w_->RegTree->topLevelItem(0)->isExpanded());
  EXPECT_TRUE(w_->bReg->isEnabled() && w_->mmReg->isEnabled() && w_->mmCreateInst->isEnabled() && w_->mmView->isEnabled());
  EXPECT_EQ(ToQt(ObjectTree::NodeOf(w_->Tree->currentItem())->Node().Server), QString("C:\\windows\\system32\\alpha.dll"));

  // Selecting a line shows it in the memo.
  w_->RegTree->setCurrentItem(w_->RegTree->topLevelItem(3));
  EXPECT_EQ(w_->Memo->toPlainText(), QString("Alpha.Class.1 = Alpha Class"));

  w_->Tree->setCurrentItem(Child(w_->IFRoot, "IAlpha"));
  EXPECT_EQ(TopLines(w_->RegTree), (QStringList{"Interface", "CLSID", "TypeLib"}));
  EXPECT_TRUE(w_->Memo->toPlainText().isEmpty());
  EXPECT_TRUE(!w_->bReg->isEnabled() && !w_->mmCreateInst->isEnabled() && w_->bView->isEnabled());

  w_->Tree->setCurrentItem(Child(w_->AIRoot, "app.exe"));
  EXPECT_EQ(w_->eGUID->text(), QString("app.exe"));
  EXPECT_EQ(w_->RegTree->topLevelItem(0)->text(0), QString("AppID"));
  EXPECT_EQ(w_->RegTree->topLevelItem(0)->child(0)->text(0), QString("app.exe = "));

  w_->Tree->setCurrentItem(Child(w_->TLRoot, "Alpha Library"));
  EXPECT_EQ(TopLines(w_->RegTree), (QStringList{"TypeLib"}));

  // A root hides the page and keeps the command states.
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
  w_->Tree->setCurrentItem(w_->OCRoot);
  EXPECT_TRUE(!w_->pc->isVisible());
  EXPECT_EQ(w_->eName->text(), QString("Object Classes"));
  EXPECT_EQ(w_->eGUID->text(), QString("Node contains 4 items"));
  EXPECT_TRUE(w_->mmReg->isEnabled());
  EXPECT_TRUE(reports_.isEmpty());
}

TEST_F(MainWindowTest, HexSwitchRebuildsThePane) {
  Open();
  w_->mmRefresh->trigger();
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
  auto binLine = [&] { return w_->RegTree->topLevelItem(0)->child(2)->text(0); };
  EXPECT_EQ(binLine(), QString("{C1}[Bin] = 41 42"));
  w_->mmHex->trigger();
  EXPECT_TRUE(!w_->mmHex->isChecked());
  EXPECT_EQ(binLine(), QString("{C1}[Bin] = AB"));
  w_->mmHex->trigger();
  EXPECT_EQ(binLine(), QString("{C1}[Bin] = 41 42"));
}

TEST_F(MainWindowTest, SaveWritesTheList) {
  QTemporaryDir dir;
  QString suggested;
  const QString file = dir.filePath("ifs.csv");
  TfrmMain::SetSaveFileChooser([&](QWidget*, const QString& s) {
    suggested = s;
    return file;
  });
  Open();
  w_->mmSaveTLB->trigger();
  EXPECT_EQ(suggested, QString("TLBs.csv"));
  w_->mmSaceIntf->trigger();
  EXPECT_EQ(suggested, QString("Intfs.csv"));
  EXPECT_EQ(ReadAll(file), std::string("Name;GUID\r\nIAlpha;{I1}\r\n"));
  EXPECT_EQ(store_.Opens(u"Interface"), 1);
  // A list that holds entries is written unchanged, without being read.
  w_->mmSaceIntf->trigger();
  EXPECT_EQ(store_.Opens(u"Interface"), 1);
  // Cancelled: nothing happens.
  TfrmMain::SetSaveFileChooser([](QWidget*, const QString&) { return QString(); });
  w_->mmSaveObjCls->trigger();
  EXPECT_EQ(store_.Opens(u"CLSID"), 0);
  // A file that cannot be created reaches the error report; the cursor is back.
  TfrmMain::SetSaveFileChooser([&](QWidget*, const QString&) { return dir.filePath("no/such/dir/x.csv"); });
  w_->mmSaveAppId->trigger();
  EXPECT_EQ(reports_.size(), 1);
  EXPECT_TRUE(reports_[0].startsWith("Cannot create file"));
  EXPECT_TRUE(!QApplication::overrideCursor());
  TfrmMain::SetSaveFileChooser(nullptr);
}

TEST_F(MainWindowTest, CopySummaryAndPendingCommands) {
  Open();
  w_->mmRefresh->trigger();
  w_->Tree->setCurrentItem(Child(w_->TLRoot, "Alpha Library"));
  w_->bCopy->click();
  const QString text = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(text.startsWith("Name: Alpha Library\r\nGUID: {T1}\r\n" + QString(80, '-') + "\r\nTypeLib\r\n   {T1} = \r\n"));
  EXPECT_TRUE(text.contains("\r\n      1.0 = Alpha Library\r\n"));
  EXPECT_TRUE(text.endsWith("\r\n"));

  w_->mmView->trigger();  // "{T1}" is no GUID: the viewer's conversion error is reported
  EXPECT_EQ(reports_, (QStringList{"Invalid class string."}));
  EXPECT_EQ(w_->sb->text(), QString("Ready"));
  w_->Tree->setCurrentItem(w_->OCRoot);
  w_->mmView->trigger();  // roots start no command
  EXPECT_EQ(reports_.size(), 1);
  EXPECT_TRUE(boxes_.isEmpty());
}

TEST_F(MainWindowTest, RegistryErrorReachesTheReport) {
  store_.SetBytes(registry::RootKey::ClassesRoot, u"CLSID\\{C3}", u"Big", registry::RegType::Binary,
                  registry::Bytes(8195, 0x41));
  Open();
  w_->mmRefresh->trigger();
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Gamma"));
  EXPECT_EQ(reports_, QStringList{"Invalid data type for 'Big'"});
  // The lines added before the error stay; the tree is usable afterwards.
  EXPECT_EQ(TopLines(w_->RegTree), QStringList{"CLSID"});
  EXPECT_EQ(w_->RegTree->topLevelItem(0)->childCount(), 1);
  EXPECT_TRUE(w_->RegTree->updatesEnabled());
  store_.DeletePath(registry::RootKey::ClassesRoot, u"CLSID\\{C3}");
  store_.SetString(registry::RootKey::ClassesRoot, u"CLSID\\{C3}", u"", u"Gamma");

  // A class whose details cannot be resolved (its server value is too
  // big) shows its own header over an empty tree, never the lines of the
  // object before, and its commands are off.
  store_.SetBytes(registry::RootKey::ClassesRoot, u"CLSID\\{C4}\\LocalServer32", u"", registry::RegType::Binary,
                  registry::Bytes(8195, 0x41));
  reports_.clear();
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "alpha class"));
  EXPECT_EQ(reports_, QStringList{"Invalid data type for ''"});
  EXPECT_EQ(w_->eName->text(), QString("alpha class"));
  EXPECT_EQ(w_->eGUID->text(), QString("{C4}"));
  EXPECT_EQ(w_->RegTree->topLevelItemCount(), 0);
  EXPECT_TRUE(!w_->mmView->isEnabled() && !w_->mmCreateInst->isEnabled());
  w_->bCopy->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
           "Name: alpha class\r\nGUID: {C4}\r\n" + QString(80, '-') + "\r\n");
  store_.DeletePath(registry::RootKey::ClassesRoot, u"CLSID\\{C4}\\LocalServer32");
}

TEST_F(MainWindowTest, RefreshReadsAChangedFileSourceAgain) {
  QTemporaryDir dir;
  const std::filesystem::path reg = dir.filePath("source.reg").toStdString();
  auto write = [&](const std::string& classes) {
    std::ofstream(reg, std::ios::binary) << "REGEDIT4\r\n\r\n" << classes;
  };
  write("[HKEY_CLASSES_ROOT\\CLSID\\{C1}]\r\n@=\"First\"\r\n");
  registry::RegistrySource source = registry::OpenRegistryPath(reg);
  Catalogue catalogue(*source.backend);
  TfrmMain::Options options;
  options.source = &source;
  TfrmMain w(catalogue, std::move(options));
  w.show();
  w.OCRoot->setExpanded(true);
  EXPECT_EQ(Children(w.OCRoot), QStringList{"First"});
  // Refresh reads the file again once it changed (here: in size).
  write("[HKEY_CLASSES_ROOT\\CLSID\\{C1}]\r\n@=\"First\"\r\n\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{C2}]\r\n@=\"Second one\"\r\n");
  w.mmRefresh->trigger();
  EXPECT_EQ(Children(w.OCRoot), (QStringList{"First", "Second one"}));
  w.Tree->setCurrentItem(Child(w.OCRoot, "Second one"));
  EXPECT_EQ(w.eGUID->text(), QString("{C2}"));
  EXPECT_TRUE(reports_.isEmpty());
}

TEST_F(MainWindowTest, SettingsRoundTrip) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  const auto path = SettingsFile::DefaultPath();
  EXPECT_TRUE(QString::fromStdString(path.string()).startsWith(config.path()));
  {
    SettingsFile settings(path);
    settings.Load();
    TfrmMain::Options o;
    o.settings = &settings;
    Open(std::move(o));
    w_->setGeometry(20, 30, 700, 500);
    w_->Splitter->setSizes({250, 700 - 250 - w_->Splitter->handleWidth()});
    EXPECT_TRUE(w_->close());
    w_.reset();
  }
  EXPECT_TRUE(std::filesystem::exists(path));
  {
    SettingsFile settings(path);
    settings.Load();
    auto reader = registry::RegistryReader::ProcessView(settings.Store(), registry::RootKey::CurrentUser);
    EXPECT_TRUE(reader.OpenKeyReadOnly(kSettingsKey));
    TextList names;
    reader.GetValueNames(names);
    EXPECT_EQ(names.size(), size_t(9));
    EXPECT_EQ(ToQt(reader.ReadString(u"NormPos")), QString("20,30,720,530"));
    TfrmMain::Options o;
    o.settings = &settings;
    Open(std::move(o));
    EXPECT_EQ(w_->geometry(), QRect(20, 30, 700, 500));
    EXPECT_EQ(w_->Splitter->sizes().value(0), 250);
    // Closed maximized: show command 3 and the rectangle from before.
    w_->showMaximized();
    EXPECT_TRUE(w_->close());
    w_.reset();
    EXPECT_EQ(settings.Store().Find(registry::RootKey::CurrentUser, kSettingsKey)->FindValue(u"ShowCmd")->data[0], 3);
  }
  {
    SettingsFile settings(path);
    settings.Load();
    TfrmMain::Options o;
    o.settings = &settings;
    Open(std::move(o));
    EXPECT_TRUE(w_->isMaximized());
    EXPECT_EQ(w_->normalGeometry(), QRect(20, 30, 700, 500));
    w_.reset();  // it writes into `settings` when it goes
  }
  {
    // Stored off the screens: moved onto the nearest one, its size kept.
    SettingsFile settings(path);
    settings.Load();
    ScreenInfo screen;
    screen.desktopWidth = QGuiApplication::primaryScreen()->virtualGeometry().width();
    screen.desktopHeight = QGuiApplication::primaryScreen()->virtualGeometry().height();
    for (const Text& name : {Text(u"NormPos"), u"NormPos" + DesktopSuffix(screen)})
      settings.Store().SetString(registry::RootKey::CurrentUser, kSettingsKey, name, u"-5000,-5000,-4300,-4520");
    settings.Store().SetDword(registry::RootKey::CurrentUser, kSettingsKey, u"ShowCmd", 1);
    TfrmMain::Options o;
    o.settings = &settings;
    Open(std::move(o));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed = w_->geometry();
    w_.reset();
    EXPECT_EQ(placed.size(), QSize(700, 480));
    EXPECT_TRUE(area.contains(placed));
    EXPECT_TRUE(placed.x() - area.x() < 20 && placed.y() - area.y() < 20);  // the corner nearest to the stored place
  }
  qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(MainWindowTest, HeaderIconFromDefaultIconOrServer) {
  QTemporaryDir dir;
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::red);
  const QString ico = dir.filePath("red.ico");
  EXPECT_TRUE(image.save(ico, "ICO"));
  constexpr auto R = registry::RootKey::ClassesRoot;
  store_.SetString(R, u"CLSID\\{C2}\\DefaultIcon", u"", FromQt(ico));
  store_.SetString(R, u"CLSID\\{C3}\\DefaultIcon", u"", FromQt(ico) + u",abc");
  Open();
  w_->mmRefresh->trigger();
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "beta"));
  EXPECT_TRUE(!w_->imgDefaultIcon->pixmap().isNull());
  EXPECT_EQ(w_->imgDefaultIcon->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
  // Another object clears the icon; "Alpha Class" has a server file that
  // does not exist, so it shows none.
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
  EXPECT_TRUE(w_->imgDefaultIcon->pixmap().isNull());
  // An index that is not a number stops the update with a conversion
  // error; the header texts are already set.
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Gamma"));
  EXPECT_EQ(reports_, QStringList{"'abc' is not a valid integer value."});
  EXPECT_EQ(w_->eGUID->text(), QString("{C3}"));
  // The registry tree is Gamma's, not the one of the object before.
  EXPECT_EQ(TopLines(w_->RegTree), QStringList{"CLSID"});
  EXPECT_EQ(w_->RegTree->topLevelItem(0)->child(0)->text(0), QString("{C3} = Gamma"));
  store_.DeletePath(R, u"CLSID\\{C2}\\DefaultIcon");
  store_.DeletePath(R, u"CLSID\\{C3}\\DefaultIcon");
}

TEST_F(MainWindowTest, IconsOfPeFiles) {
  const std::filesystem::path shell32 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
  if (!std::filesystem::exists(shell32)) GTEST_SKIP() << "Wine's shell32.dll is not installed";
  EXPECT_TRUE(!ExtractFileIcon(shell32, 0).isNull());
  EXPECT_TRUE(ExtractFileIcon(shell32, 100000).isNull());
  EXPECT_TRUE(ExtractFileIcon("/nonexistent/x.dll", 0).isNull());
  QTemporaryDir dir;
  const QString notPe = dir.filePath("text.dll");
  QFile f(notPe);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("MZ but nothing else");
  f.close();
  EXPECT_TRUE(ExtractFileIcon(notPe.toStdString(), 0).isNull());
}

TEST_F(MainWindowTest, ViewMenuSwitchesAndKeepsTheView) {
  QTemporaryDir config;
  SettingsFile settings(std::filesystem::path(config.filePath("settings.reg").toStdString()));
  CountingStore both;
  FillFixture(both);
  both.SetString(registry::RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\{C9}", u"", u"Thirty-two Class");
  both.SetString(registry::RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\{C9}\\InprocServer32", u"",
                 u"C:\\windows\\syswow64\\c9.dll");
  registry::ViewedRegistry viewed(both, registry::RegistryView::Bits64);
  Catalogue catalogue(viewed);
  TfrmMain::Options o;
  o.settings = &settings;
  o.view = &viewed;
  auto w = std::make_unique<TfrmMain>(catalogue, std::move(o));
  w->show();
  EXPECT_EQ(w->windowTitle(), QString("Brannock - 64-bit"));
  EXPECT_EQ(w->sbView->text(), QString("64-bit registrations"));
  EXPECT_EQ(w->mmView64->text(), QString("64-bit registrations"));
  EXPECT_EQ(w->mmView32->text(), QString("32-bit registrations"));
  EXPECT_TRUE(w->mmView64->isChecked() && !w->mmView32->isChecked());
  EXPECT_TRUE(w->mmView64->isEnabled() && w->mmView32->isEnabled());
  EXPECT_TRUE(w->mmView64->actionGroup() && w->mmView64->actionGroup()->isExclusive());
  w->OCRoot->setExpanded(true);
  EXPECT_EQ(Children(w->OCRoot), (QStringList{"Alpha Class", "alpha class", "beta", "Gamma"}));
  w->Tree->setCurrentItem(Child(w->OCRoot, "Alpha Class"));
  EXPECT_TRUE(w->RegTree->topLevelItemCount() > 0);

  w->mmView32->trigger();
  EXPECT_EQ(viewed.View(), registry::RegistryView::Bits32);
  EXPECT_EQ(w->windowTitle(), QString("Brannock - 32-bit"));
  EXPECT_EQ(w->sbView->text(), QString("32-bit registrations"));
  EXPECT_TRUE(w->mmView32->isChecked() && !w->mmView64->isChecked());
  // As Refresh: all four collections read anew, now from the 32-bit view
  // (classes and interfaces redirected, the rest shared); nothing of the
  // other view is left in the pane.
  EXPECT_EQ(Children(w->OCRoot), QStringList{"Thirty-two Class"});
  EXPECT_EQ(Children(w->TLRoot), QStringList{"Alpha Library"});
  EXPECT_EQ(Children(w->IFRoot), QStringList{});
  EXPECT_EQ(w->RegTree->topLevelItemCount(), 0);
  EXPECT_EQ(w->eName->text(), QString());
  EXPECT_EQ(w->sb->text(), QString("Ready"));
  w->Tree->setCurrentItem(w->OCRoot->child(0));
  EXPECT_TRUE(!w->RegTree->findItems("c9.dll", Qt::MatchContains | Qt::MatchRecursive).isEmpty());

  const int reads = both.Opens(u"CLSID");
  w->mmView32->trigger();  // the view shown: nothing read again
  EXPECT_EQ(both.Opens(u"CLSID"), reads);
  EXPECT_TRUE(w->close());
  w.reset();
  EXPECT_EQ(ReadStoredView(settings.Store()), registry::RegistryView::Bits32);

  // A registry of 32-bit Windows: the 64-bit item says there is none.
  CountingStore only32;
  FillFixture(only32);
  only32.SetMachineView(registry::RegistryView::Bits32);
  registry::ViewedRegistry viewed32(only32, registry::RegistryView::Bits32);
  Catalogue catalogue32(viewed32);
  TfrmMain::Options o32;
  o32.view = &viewed32;
  w = std::make_unique<TfrmMain>(catalogue32, std::move(o32));
  EXPECT_EQ(w->windowTitle(), QString("Brannock - 32-bit"));
  EXPECT_TRUE(!w->mmView64->isEnabled());
  EXPECT_EQ(w->mmView64->text(), QString("64-bit registrations (none in a registry of 32-bit Windows)"));
  EXPECT_TRUE(w->mmView32->isChecked());
  reports_.clear();
  Guarded(ReportError, [&] { w->cmChooseView(registry::RegistryView::Bits64); });  // not through the menu: refused
  EXPECT_EQ(reports_, QStringList{"The registry has no 64-bit registrations: it is a registry of 32-bit Windows."});
  EXPECT_EQ(viewed32.View(), registry::RegistryView::Bits32);
  w.reset();
}

TEST_F(MainWindowTest, MessageBoxCaptions) {
  ShowErrorBox(u"e");
  ShowInfoBox(u"i", u"Own");
  EXPECT_EQ(boxes_, (QStringList{"Error: e", "Own: i"}));
}

}  // namespace
}  // namespace brannock::ui::testing
