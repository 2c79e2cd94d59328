// The main window driven on the fixture registry, offscreen.
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
#include "ui/qt/message_boxes.h"
#include "fixture_registry.h"

using namespace brannock;
using namespace brannock::ui;

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

QTreeWidgetItem* Child(QTreeWidgetItem* root, const QString& text) {
  for (int i = 0; i < root->childCount(); ++i)
    if (root->child(i)->text(0) == text) return root->child(i);
  return nullptr;
}

std::string ReadAll(const QString& file) {
  std::ifstream in(file.toStdString(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  testing::CountingStore store_;
  std::unique_ptr<Catalogue> catalogue_;
  std::unique_ptr<TfrmMain> w_;
  QStringList reports_;
  QStringList boxes_;

  void Open(TfrmMain::Options options = {}) {
    w_.reset();
    catalogue_ = std::make_unique<Catalogue>(store_);
    w_ = std::make_unique<TfrmMain>(*catalogue_, std::move(options));
    w_->show();
  }

 private slots:
  void initTestCase() {
    testing::FillFixture(store_);
    SetErrorReportHook([this](const Text& t) { reports_ << ToQt(t); });
    SetMessageBoxHook([this](BoxKind, const Text& t, const Text& caption) { boxes_ << ToQt(caption + u": " + t); });
  }

  void init() {
    reports_.clear();
    boxes_.clear();
    store_.opens.clear();
  }

  void cleanup() { w_.reset(); }

  void layoutAndInitialState() {
    Open();
    QCOMPARE(w_->windowTitle(), QString("Brannock"));
    QCOMPARE(TopLines(w_->Tree), (QStringList{"Object Classes", "Application IDs", "Type Libraries", "Interfaces"}));
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(w_->Tree->topLevelItem(i)->childCount(), 0);
      QCOMPARE(w_->Tree->topLevelItem(i)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    }
    QCOMPARE(w_->size(), QSize(792, 554));
    QCOMPARE(w_->Splitter->sizes().value(0), 301);
    QVERIFY(!w_->pc->isVisible());
    QCOMPARE(w_->pc->tabText(0), QString(" Registry "));
    QCOMPARE(w_->sb->text(), QString("Ready"));
    QVERIFY(w_->mmHex->isChecked());
    QVERIFY(!w_->mmView->isEnabled() && !w_->mmCreateInst->isEnabled() && !w_->mmReg->isEnabled());
    QVERIFY(w_->mmRefresh->isEnabled());
    QCOMPARE(w_->mmRefresh->shortcut(), QKeySequence("Ctrl+R"));
    QVERIFY(w_->eName->font().bold());
    QVERIFY(w_->eName->isReadOnly() && w_->eGUID->isReadOnly());
    QCOMPARE(w_->Memo->height(), 107);
    QVERIFY(!catalogue_->Environment.empty());
    QCOMPARE(store_.Opens(u"CLSID"), 0);  // nothing read at start
  }

  // The second panel names the registry shown; the places passed over on
  // the way to it are its tool tip. The first panel keeps the status text.
  void statusBarNamesTheSource() {
    TfrmMain::Options options;
    options.sourceText = u"Demo registry";
    options.sourceSkipped = {u"$WINEPREFIX /tmp/p skipped: no such folder",
                             u"~/.wine skipped: not a Wine prefix (no system.reg)"};
    Open(std::move(options));
    QCOMPARE(w_->sbSource->text(), QString("Demo registry"));
    QCOMPARE(w_->sbSource->toolTip(), QString("$WINEPREFIX /tmp/p skipped: no such folder\n"
                                              "~/.wine skipped: not a Wine prefix (no system.reg)"));
    QVERIFY(w_->sbSource->isVisible());
    QVERIFY(w_->sbSource->x() > w_->sb->x());
    w_->OCRoot->setExpanded(true);
    QCOMPARE(w_->sb->text(), QString("Ready"));
    QCOMPARE(w_->sbSource->text(), QString("Demo registry"));
  }

  // The program icon at each size of the icon theme: a tile that fills the
  // middle, transparent round corners, and more than one colour.
  void programIconAtEverySize() {
    const QIcon icon = ProgramIcon();
    for (int size : {16, 32, 48, 128, 256}) {
      const QImage image = PaintProgramIcon(size);
      QCOMPARE(image.size(), QSize(size, size));
      QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
      QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
      QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
      QSet<QRgb> colours;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) colours.insert(image.pixel(x, y));
      QVERIFY2(colours.size() > 4, qPrintable(QString::number(size)));
      QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    }
  }

  void expansionReadsOnceAndSorts() {
    Open();
    w_->Tree->setCurrentItem(w_->OCRoot);
    QCOMPARE(w_->eGUID->text(), QString("Expand node to retrieve items"));
    w_->OCRoot->setExpanded(true);
    QCOMPARE(store_.Opens(u"CLSID"), 1);
    // Stable, case-folding order: the two spellings of "alpha class" keep
    // their list order ({C1} before {C4}).
    QCOMPARE(Children(w_->OCRoot), (QStringList{"Alpha Class", "alpha class", "beta", "Gamma"}));
    auto* first = ObjectTree::NodeOf(w_->OCRoot->child(0));
    QCOMPARE(first->Node().Index, 0);
    QCOMPARE(ObjectTree::NodeOf(w_->OCRoot->child(1))->Node().Index, 3);
    QCOMPARE(w_->sb->text(), QString("Ready"));
    QVERIFY(!QApplication::overrideCursor());

    w_->OCRoot->setExpanded(false);
    w_->OCRoot->setExpanded(true);
    QCOMPARE(store_.Opens(u"CLSID"), 1);
    w_->Tree->setCurrentItem(w_->AIRoot);
    w_->Tree->setCurrentItem(w_->OCRoot);
    QCOMPARE(w_->eGUID->text(), QString("Node contains 4 items"));
  }

  void emptyCollectionIsReadAgain() {
    testing::CountingStore empty;
    Catalogue catalogue(empty);
    TfrmMain w(catalogue, {});
    w.show();
    w.IFRoot->setExpanded(true);
    const int perRead = empty.Opens(u"Interface");  // every access mask is tried on a missing key
    QVERIFY(perRead > 0);
    // The empty root closed again: the next expansion, one click, reads anew.
    QVERIFY(!w.IFRoot->isExpanded());
    w.IFRoot->setExpanded(true);
    QCOMPARE(w.IFRoot->childCount(), 0);
    QCOMPARE(empty.Opens(u"Interface"), 2 * perRead);
    QVERIFY(!w.IFRoot->isExpanded());
    QCOMPARE(w.IFRoot->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QCOMPARE(w.sb->text(), QString("Ready"));
  }

  void refreshFillsAllRootsCollapsed() {
    Open();
    w_->OCRoot->setExpanded(true);
    w_->Tree->setCurrentItem(w_->OCRoot->child(0));
    w_->mmRefresh->trigger();
    QCOMPARE(store_.Opens(u"CLSID"), 2);  // read anew
    QCOMPARE(w_->Tree->topLevelItemCount(), 4);
    QCOMPARE(w_->OCRoot->childCount(), 4);
    QCOMPARE(Children(w_->AIRoot), (QStringList{"Alpha App", "app.exe"}));
    QCOMPARE(Children(w_->TLRoot), (QStringList{"Alpha Library"}));
    QCOMPARE(Children(w_->IFRoot), (QStringList{"IAlpha"}));
    for (int i = 0; i < 4; ++i) QVERIFY(!w_->Tree->topLevelItem(i)->isExpanded());
    QVERIFY(w_->Tree->selectedItems().isEmpty());
    QCOMPARE(w_->sb->text(), QString("Ready"));
  }

  void typingSelectsIncrementally() {
    Open();
    w_->OCRoot->setExpanded(true);
    w_->Tree->setFocus();
    w_->Tree->setCurrentItem(w_->OCRoot);
    QTest::keyClicks(w_->Tree, "gam");
    QCOMPARE(w_->Tree->currentItem()->text(0), QString("Gamma"));
    QCOMPARE(w_->eName->text(), QString("Gamma"));
    QTest::qWait(1100);  // a new search after the timeout, from the focused node on
    QTest::keyClicks(w_->Tree, "Inter");
    QCOMPARE(w_->Tree->currentItem()->text(0), QString("Interfaces"));
    QTest::qWait(1100);
    QTest::keyClicks(w_->Tree, "be");
    QCOMPARE(w_->Tree->currentItem()->text(0), QString("beta"));  // round from the first node
  }

  void selectingObjectsFillsThePane() {
    TfrmMain::Options wine;
    wine.tools = {ToolHost::Kind::Wine, "/fake/prefix"};
    Open(std::move(wine));
    w_->mmRefresh->trigger();
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
    QVERIFY(w_->pc->isVisible());
    QCOMPARE(w_->eGUID->text(), QString("{C1}"));
    QCOMPARE(TopLines(w_->RegTree), (QStringList{"CLSID", "TypeLib", "AppID", "Alpha.Class.1 = Alpha Class"}));
    QVERIFY(w_->RegTree->topLevelItem(3)->font(0).bold());
    QVERIFY(!w_->RegTree->topLevelItem(0)->child(0)->font(0).bold());
    QVERIFY(w_->RegTree->topLevelItem(0)->child(0)->isExpanded() || w_->RegTree->topLevelItem(0)->isExpanded());
    QVERIFY(w_->bReg->isEnabled() && w_->mmReg->isEnabled() && w_->mmCreateInst->isEnabled() && w_->mmView->isEnabled());
    QCOMPARE(ToQt(ObjectTree::NodeOf(w_->Tree->currentItem())->Node().Server), QString("C:\\windows\\system32\\alpha.dll"));

    // Selecting a line shows it in the memo.
    w_->RegTree->setCurrentItem(w_->RegTree->topLevelItem(3));
    QCOMPARE(w_->Memo->toPlainText(), QString("Alpha.Class.1 = Alpha Class"));

    w_->Tree->setCurrentItem(Child(w_->IFRoot, "IAlpha"));
    QCOMPARE(TopLines(w_->RegTree), (QStringList{"Interface", "CLSID", "TypeLib"}));
    QVERIFY(w_->Memo->toPlainText().isEmpty());
    QVERIFY(!w_->bReg->isEnabled() && !w_->mmCreateInst->isEnabled() && w_->bView->isEnabled());

    w_->Tree->setCurrentItem(Child(w_->AIRoot, "app.exe"));
    QCOMPARE(w_->eGUID->text(), QString("app.exe"));
    QCOMPARE(w_->RegTree->topLevelItem(0)->text(0), QString("AppID"));
    QCOMPARE(w_->RegTree->topLevelItem(0)->child(0)->text(0), QString("app.exe = "));

    w_->Tree->setCurrentItem(Child(w_->TLRoot, "Alpha Library"));
    QCOMPARE(TopLines(w_->RegTree), (QStringList{"TypeLib"}));

    // A root hides the page and keeps the command states.
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
    w_->Tree->setCurrentItem(w_->OCRoot);
    QVERIFY(!w_->pc->isVisible());
    QCOMPARE(w_->eName->text(), QString("Object Classes"));
    QCOMPARE(w_->eGUID->text(), QString("Node contains 4 items"));
    QVERIFY(w_->mmReg->isEnabled());
    QVERIFY(reports_.isEmpty());
  }

  void hexSwitchRebuildsThePane() {
    Open();
    w_->mmRefresh->trigger();
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
    auto binLine = [&] { return w_->RegTree->topLevelItem(0)->child(2)->text(0); };
    QCOMPARE(binLine(), QString("{C1}[Bin] = 41 42"));
    w_->mmHex->trigger();
    QVERIFY(!w_->mmHex->isChecked());
    QCOMPARE(binLine(), QString("{C1}[Bin] = AB"));
    w_->mmHex->trigger();
    QCOMPARE(binLine(), QString("{C1}[Bin] = 41 42"));
  }

  void saveWritesTheList() {
    QTemporaryDir dir;
    QString suggested;
    const QString file = dir.filePath("ifs.csv");
    TfrmMain::SetSaveFileChooser([&](QWidget*, const QString& s) {
      suggested = s;
      return file;
    });
    Open();
    w_->mmSaveTLB->trigger();
    QCOMPARE(suggested, QString("TLBs.csv"));
    w_->mmSaceIntf->trigger();
    QCOMPARE(suggested, QString("Intfs.csv"));
    QCOMPARE(ReadAll(file), std::string("Name;GUID\r\nIAlpha;{I1}\r\n"));
    QCOMPARE(store_.Opens(u"Interface"), 1);
    // A list that holds entries is written unchanged, without being read.
    w_->mmSaceIntf->trigger();
    QCOMPARE(store_.Opens(u"Interface"), 1);
    // Cancelled: nothing happens.
    TfrmMain::SetSaveFileChooser([](QWidget*, const QString&) { return QString(); });
    w_->mmSaveObjCls->trigger();
    QCOMPARE(store_.Opens(u"CLSID"), 0);
    // A file that cannot be created reaches the error report; the cursor is back.
    TfrmMain::SetSaveFileChooser([&](QWidget*, const QString&) { return dir.filePath("no/such/dir/x.csv"); });
    w_->mmSaveAppId->trigger();
    QCOMPARE(reports_.size(), 1);
    QVERIFY(reports_[0].startsWith("Cannot create file"));
    QVERIFY(!QApplication::overrideCursor());
    TfrmMain::SetSaveFileChooser(nullptr);
  }

  void copySummaryAndPendingCommands() {
    Open();
    w_->mmRefresh->trigger();
    w_->Tree->setCurrentItem(Child(w_->TLRoot, "Alpha Library"));
    w_->bCopy->click();
    const QString text = QGuiApplication::clipboard()->text();
    QVERIFY(text.startsWith("Name: Alpha Library\r\nGUID: {T1}\r\n" + QString(80, '-') + "\r\nTypeLib\r\n   {T1} = \r\n"));
    QVERIFY(text.contains("\r\n      1.0 = Alpha Library\r\n"));
    QVERIFY(text.endsWith("\r\n"));

    w_->mmView->trigger();  // "{T1}" is no GUID: the viewer's conversion error is reported
    QCOMPARE(reports_, (QStringList{"Invalid class string."}));
    QCOMPARE(w_->sb->text(), QString("Ready"));
    w_->Tree->setCurrentItem(w_->OCRoot);
    w_->mmView->trigger();  // roots start no command
    QCOMPARE(reports_.size(), 1);
    QVERIFY(boxes_.isEmpty());
  }

  void registryErrorReachesTheReport() {
    store_.SetBytes(registry::RootKey::ClassesRoot, u"CLSID\\{C3}", u"Big", registry::RegType::Binary,
                    registry::Bytes(8195, 0x41));
    Open();
    w_->mmRefresh->trigger();
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Gamma"));
    QCOMPARE(reports_, QStringList{"Invalid data type for 'Big'"});
    // The lines added before the error stay; the tree is usable afterwards.
    QCOMPARE(TopLines(w_->RegTree), QStringList{"CLSID"});
    QCOMPARE(w_->RegTree->topLevelItem(0)->childCount(), 1);
    QVERIFY(w_->RegTree->updatesEnabled());
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
    QCOMPARE(reports_, QStringList{"Invalid data type for ''"});
    QCOMPARE(w_->eName->text(), QString("alpha class"));
    QCOMPARE(w_->eGUID->text(), QString("{C4}"));
    QCOMPARE(w_->RegTree->topLevelItemCount(), 0);
    QVERIFY(!w_->mmView->isEnabled() && !w_->mmCreateInst->isEnabled());
    w_->bCopy->click();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             "Name: alpha class\r\nGUID: {C4}\r\n" + QString(80, '-') + "\r\n");
    store_.DeletePath(registry::RootKey::ClassesRoot, u"CLSID\\{C4}\\LocalServer32");
  }

  void refreshReadsAChangedFileSourceAgain() {
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
    QCOMPARE(Children(w.OCRoot), QStringList{"First"});
    // Refresh reads the file again once it changed (here: in size).
    write("[HKEY_CLASSES_ROOT\\CLSID\\{C1}]\r\n@=\"First\"\r\n\r\n"
          "[HKEY_CLASSES_ROOT\\CLSID\\{C2}]\r\n@=\"Second one\"\r\n");
    w.mmRefresh->trigger();
    QCOMPARE(Children(w.OCRoot), (QStringList{"First", "Second one"}));
    w.Tree->setCurrentItem(Child(w.OCRoot, "Second one"));
    QCOMPARE(w.eGUID->text(), QString("{C2}"));
    QVERIFY(reports_.isEmpty());
  }

  void settingsRoundTrip() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto path = SettingsFile::DefaultPath();
    QVERIFY(QString::fromStdString(path.string()).startsWith(config.path()));
    {
      SettingsFile settings(path);
      settings.Load();
      TfrmMain::Options o;
      o.settings = &settings;
      Open(std::move(o));
      w_->setGeometry(20, 30, 700, 500);
      w_->Splitter->setSizes({250, 700 - 250 - w_->Splitter->handleWidth()});
      QVERIFY(w_->close());
      w_.reset();
    }
    QVERIFY(std::filesystem::exists(path));
    {
      SettingsFile settings(path);
      settings.Load();
      auto reader = registry::RegistryReader::ProcessView(settings.Store(), registry::RootKey::CurrentUser);
      QVERIFY(reader.OpenKeyReadOnly(kSettingsKey));
      TextList names;
      reader.GetValueNames(names);
      QCOMPARE(names.size(), size_t(9));
      QCOMPARE(ToQt(reader.ReadString(u"NormPos")), QString("20,30,720,530"));
      TfrmMain::Options o;
      o.settings = &settings;
      Open(std::move(o));
      QCOMPARE(w_->geometry(), QRect(20, 30, 700, 500));
      QCOMPARE(w_->Splitter->sizes().value(0), 250);
      // Closed maximized: show command 3 and the rectangle from before.
      w_->showMaximized();
      QVERIFY(w_->close());
      w_.reset();
      QCOMPARE(settings.Store().Find(registry::RootKey::CurrentUser, kSettingsKey)->FindValue(u"ShowCmd")->data[0], 3);
    }
    {
      SettingsFile settings(path);
      settings.Load();
      TfrmMain::Options o;
      o.settings = &settings;
      Open(std::move(o));
      QVERIFY(w_->isMaximized());
      QCOMPARE(w_->normalGeometry(), QRect(20, 30, 700, 500));
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
      QCOMPARE(placed.size(), QSize(700, 480));
      QVERIFY(area.contains(placed));
      QVERIFY(placed.x() - area.x() < 20 && placed.y() - area.y() < 20);  // the corner nearest to the stored place
    }
    qunsetenv("XDG_CONFIG_HOME");
  }

  void headerIconFromDefaultIconOrServer() {
    QTemporaryDir dir;
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const QString ico = dir.filePath("red.ico");
    QVERIFY(image.save(ico, "ICO"));
    constexpr auto R = registry::RootKey::ClassesRoot;
    store_.SetString(R, u"CLSID\\{C2}\\DefaultIcon", u"", FromQt(ico));
    store_.SetString(R, u"CLSID\\{C3}\\DefaultIcon", u"", FromQt(ico) + u",abc");
    Open();
    w_->mmRefresh->trigger();
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "beta"));
    QVERIFY(!w_->imgDefaultIcon->pixmap().isNull());
    QCOMPARE(w_->imgDefaultIcon->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
    // Another object clears the icon; "Alpha Class" has a server file that
    // does not exist, so it shows none.
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Alpha Class"));
    QVERIFY(w_->imgDefaultIcon->pixmap().isNull());
    // An index that is not a number stops the update with a conversion
    // error; the header texts are already set.
    w_->Tree->setCurrentItem(Child(w_->OCRoot, "Gamma"));
    QCOMPARE(reports_, QStringList{"'abc' is not a valid integer value."});
    QCOMPARE(w_->eGUID->text(), QString("{C3}"));
    // The registry tree is Gamma's, not the one of the object before.
    QCOMPARE(TopLines(w_->RegTree), QStringList{"CLSID"});
    QCOMPARE(w_->RegTree->topLevelItem(0)->child(0)->text(0), QString("{C3} = Gamma"));
    store_.DeletePath(R, u"CLSID\\{C2}\\DefaultIcon");
    store_.DeletePath(R, u"CLSID\\{C3}\\DefaultIcon");
  }

  void iconsOfPeFiles() {
    const std::filesystem::path shell32 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
    if (!std::filesystem::exists(shell32)) QSKIP("Wine's shell32.dll is not installed");
    QVERIFY(!ExtractFileIcon(shell32, 0).isNull());
    QVERIFY(ExtractFileIcon(shell32, 100000).isNull());
    QVERIFY(ExtractFileIcon("/nonexistent/x.dll", 0).isNull());
    QTemporaryDir dir;
    const QString notPe = dir.filePath("text.dll");
    QFile f(notPe);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("MZ but nothing else");
    f.close();
    QVERIFY(ExtractFileIcon(notPe.toStdString(), 0).isNull());
  }

  // The View menu: one radio item per view; choosing the other one reads
  // every collection anew from it, names it in the title and the status
  // bar, and is kept with the window settings.
  void viewMenuSwitchesAndKeepsTheView() {
    QTemporaryDir config;
    SettingsFile settings(std::filesystem::path(config.filePath("settings.reg").toStdString()));
    testing::CountingStore both;
    testing::FillFixture(both);
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
    QCOMPARE(w->windowTitle(), QString("Brannock - 64-bit"));
    QCOMPARE(w->sbView->text(), QString("64-bit registrations"));
    QCOMPARE(w->mmView64->text(), QString("64-bit registrations"));
    QCOMPARE(w->mmView32->text(), QString("32-bit registrations"));
    QVERIFY(w->mmView64->isChecked() && !w->mmView32->isChecked());
    QVERIFY(w->mmView64->isEnabled() && w->mmView32->isEnabled());
    QVERIFY(w->mmView64->actionGroup() && w->mmView64->actionGroup()->isExclusive());
    w->OCRoot->setExpanded(true);
    QCOMPARE(Children(w->OCRoot), (QStringList{"Alpha Class", "alpha class", "beta", "Gamma"}));
    w->Tree->setCurrentItem(Child(w->OCRoot, "Alpha Class"));
    QVERIFY(w->RegTree->topLevelItemCount() > 0);

    w->mmView32->trigger();
    QCOMPARE(viewed.View(), registry::RegistryView::Bits32);
    QCOMPARE(w->windowTitle(), QString("Brannock - 32-bit"));
    QCOMPARE(w->sbView->text(), QString("32-bit registrations"));
    QVERIFY(w->mmView32->isChecked() && !w->mmView64->isChecked());
    // As Refresh: all four collections read anew, now from the 32-bit view
    // (classes and interfaces redirected, the rest shared); nothing of the
    // other view is left in the pane.
    QCOMPARE(Children(w->OCRoot), QStringList{"Thirty-two Class"});
    QCOMPARE(Children(w->TLRoot), QStringList{"Alpha Library"});
    QCOMPARE(Children(w->IFRoot), QStringList{});
    QCOMPARE(w->RegTree->topLevelItemCount(), 0);
    QCOMPARE(w->eName->text(), QString());
    QCOMPARE(w->sb->text(), QString("Ready"));
    w->Tree->setCurrentItem(w->OCRoot->child(0));
    QVERIFY(!w->RegTree->findItems("c9.dll", Qt::MatchContains | Qt::MatchRecursive).isEmpty());

    const int reads = both.Opens(u"CLSID");
    w->mmView32->trigger();  // the view shown: nothing read again
    QCOMPARE(both.Opens(u"CLSID"), reads);
    QVERIFY(w->close());
    w.reset();
    QCOMPARE(ReadStoredView(settings.Store()), registry::RegistryView::Bits32);

    // A registry of 32-bit Windows: the 64-bit item says there is none.
    testing::CountingStore only32;
    testing::FillFixture(only32);
    only32.SetMachineView(registry::RegistryView::Bits32);
    registry::ViewedRegistry viewed32(only32, registry::RegistryView::Bits32);
    Catalogue catalogue32(viewed32);
    TfrmMain::Options o32;
    o32.view = &viewed32;
    w = std::make_unique<TfrmMain>(catalogue32, std::move(o32));
    QCOMPARE(w->windowTitle(), QString("Brannock - 32-bit"));
    QVERIFY(!w->mmView64->isEnabled());
    QCOMPARE(w->mmView64->text(), QString("64-bit registrations (none in a registry of 32-bit Windows)"));
    QVERIFY(w->mmView32->isChecked());
    reports_.clear();
    Guarded([&] { w->cmChooseView(registry::RegistryView::Bits64); });  // not through the menu: refused
    QCOMPARE(reports_, QStringList{"The registry has no 64-bit registrations: it is a registry of 32-bit Windows."});
    QCOMPARE(viewed32.View(), registry::RegistryView::Bits32);
    w.reset();
  }

  void messageBoxCaptions() {
    ShowErrorBox(u"e");
    ShowInfoBox(u"i", u"Own");
    QCOMPARE(boxes_, (QStringList{"Error: e", "Own: i"}));
  }
};

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  BrannockApplication app(argc, argv);
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
