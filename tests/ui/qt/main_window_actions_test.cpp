// The object commands of the main window on the fixture registry: the
// registration tool's command lines, test instances, and the type library
// viewer opened for an object or a file.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "actions_fixture.h"
#include "platform/messages.h"

namespace brannock::ui::testing {
namespace {

using registry::RootKey;

struct Window {
  CountingStore store;
  Catalogue catalogue{store};
  std::unique_ptr<TfrmMain> frm;

  explicit Window(ToolHost tools = {ToolHost::Kind::Wine, "/fake/prefix"}) {
    FillFixture(store);
    // A class whose server carries an argument, one whose server is a real
    // type library file, and a class without a ProgID or server ("beta").
    store.SetString(RootKey::ClassesRoot, u"CLSID\\{C5}", u"", u"Local Server");
    store.SetString(RootKey::ClassesRoot, u"CLSID\\{C5}\\LocalServer32", u"",
                    u"C:\\Program Files\\App\\app.exe /automation");
#ifdef BRANNOCK_TLB_DIR
    store.SetString(RootKey::ClassesRoot, u"CLSID\\{C6}", u"", u"Shapes Server");
    store.SetString(RootKey::ClassesRoot, u"CLSID\\{C6}\\InprocServer32", u"",
                    Utf8ToUtf16(BRANNOCK_TLB_DIR "/shapes.tlb"));
#endif
    TfrmMain::Options options;
    options.tools = std::move(tools);
    frm = std::make_unique<TfrmMain>(catalogue, std::move(options));
    frm->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frm.get(), 60000));
  }
  // A real double click on the node, as the user gives it.
  void DoubleClick(QTreeWidgetItem* item) {
    frm->Tree->scrollToItem(item);
    const QPoint at = frm->Tree->visualItemRect(item).center();
    QTest::mouseClick(frm->Tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(frm->Tree->viewport(), Qt::LeftButton, {}, at);
  }
  QTreeWidgetItem* Select(QTreeWidgetItem* root, const QString& name) {
    QTreeWidgetItem* item = name.isEmpty() ? root : ChildNamed(root, name);
    EXPECT_TRUE(item) << name.toStdString();
    if (item) frm->Tree->setCurrentItem(item);
    return item;
  }
};

TEST(bRegClick, RunsRegsvr32WithTheQuotedServerOfTheFocusedObject) {
  Captured captured;
  std::vector<ToolCommand> runs;
  SetToolRunner([&](const ToolCommand& c) {
    runs.push_back(c);
    return true;
  });
  Window w;
  w.Select(w.frm->OCRoot, "Alpha Class");
  ASSERT_TRUE(w.frm->bReg->isEnabled());
  QTest::mouseClick(w.frm->bReg, Qt::LeftButton);
  w.frm->mmUnreg->trigger();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].executable, u"regsvr32");
  EXPECT_EQ(runs[0].parameters, u"\"C:\\windows\\system32\\alpha.dll\"");
  EXPECT_EQ(runs[0].launcher, TextList{u"wine"});
  EXPECT_EQ(runs[0].environment, TextList{u"WINEPREFIX=/fake/prefix"});
  EXPECT_EQ(runs[0].showMode, 10);
  EXPECT_EQ(runs[1].parameters, u"/u \"C:\\windows\\system32\\alpha.dll\"");

  // A server with arguments is quoted whole.
  w.Select(w.frm->OCRoot, "Local Server");
  w.frm->mmReg->trigger();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[2].parameters, u"\"C:\\Program Files\\App\\app.exe /automation\"");

  // A root keeps the menu item enabled from the last object; it runs nothing.
  w.Select(w.frm->OCRoot, "");
  EXPECT_TRUE(w.frm->mmReg->isEnabled());
  w.frm->mmReg->trigger();
  w.frm->bRegClick(1);
  // An object without a server runs nothing either, and neither does a
  // command with nothing focused.
  w.Select(w.frm->OCRoot, "beta");
  EXPECT_FALSE(w.frm->bReg->isEnabled());
  w.frm->bRegClick(0);
  w.frm->Tree->setCurrentItem(nullptr);
  w.frm->bRegClick(0);
  EXPECT_EQ(runs.size(), 3u);
  // Nothing is reported, the status stays.
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_EQ(w.frm->sb->text(), "Ready");
}

TEST(bRegClick, ASourceWithoutWindowsProgramsRunsNothing) {
  Captured captured;
  int runs = 0;
  SetToolRunner([&](const ToolCommand&) { return ++runs, true; });
  Window w(ToolHost{});
  w.Select(w.frm->OCRoot, "Alpha Class");
  // The commands are off for such a source, and run anyway they do nothing.
  EXPECT_FALSE(w.frm->bReg->isEnabled() || w.frm->bUnreg->isEnabled());
  EXPECT_FALSE(w.frm->mmReg->isEnabled() || w.frm->mmUnreg->isEnabled());
  EXPECT_TRUE(w.frm->mmCreateInst->isEnabled() && w.frm->mmView->isEnabled());
  w.frm->bRegClick(0);
  w.frm->bRegClick(1);
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_TRUE(captured.reports.empty());
}

TEST(cmCreateInst, ProbesTheProgIdWhileWorkingAndReportsOnlyTypeInfoFailures) {
  Captured captured;
  std::vector<Text> progIds;
  std::vector<QString> statusMeanwhile;
  InstanceReport answer;
  Window w;
  SetInstanceProbe([&](const ToolHost& host, TextView progId) {
    EXPECT_EQ(host.winePrefix, std::filesystem::path("/fake/prefix"));
    progIds.emplace_back(progId);
    statusMeanwhile.push_back(w.frm->sb->text());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    return answer;
  });

  // No instance: only the status text.
  w.Select(w.frm->OCRoot, "Alpha Class");
  ASSERT_TRUE(w.frm->mmCreateInst->isEnabled());
  w.frm->mmCreateInst->trigger();
  ASSERT_EQ(progIds.size(), 1u);
  EXPECT_EQ(progIds[0], u"Alpha.Class.1");
  EXPECT_EQ(statusMeanwhile[0], "Working...");
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_EQ(w.frm->sb->text(), "Ready");

  // An instance that gives its type information: nothing shown either.
  answer = {InstanceReport::Outcome::Ok, 0};
  w.frm->mmCreateInst->trigger();
  EXPECT_TRUE(captured.boxes.empty());

  // One that refuses it: the error box with the code's text, shown while
  // "Working..." is still up, with the normal cursor; "Ready" once it is
  // closed.
  answer = {InstanceReport::Outcome::TypeInfoFailed, 0x80004001};
  QString statusAtBox;
  bool hourglassAtBox = true;
  SetMessageBoxHook([&](BoxKind k, const Text& text, const Text&) {
    statusAtBox = w.frm->sb->text();
    hourglassAtBox = QApplication::overrideCursor() != nullptr;
    captured.boxes.push_back({k, text});
  });
  w.frm->mmCreateInst->trigger();
  EXPECT_EQ(statusAtBox, "Working...");
  EXPECT_FALSE(hourglassAtBox);
  ASSERT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(captured.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(captured.boxes[0].text, platform::ErrorCodeText(0x80004001));
  EXPECT_EQ(w.frm->sb->text(), "Ready");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A failure on the way still ends with "Ready" and the normal cursor.
  SetInstanceProbe([](const ToolHost&, TextView) -> InstanceReport { throw std::runtime_error("server died"); });
  w.frm->mmCreateInst->trigger();
  EXPECT_EQ(captured.reports.size(), 1u);
  EXPECT_EQ(w.frm->sb->text(), "Ready");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A root does nothing; an object without a ProgID has the command
  // disabled, and run anyway it gets no instance.
  SetInstanceProbe(nullptr);
  w.Select(w.frm->OCRoot, "");
  w.frm->cmCreateInst();
  w.Select(w.frm->OCRoot, "beta");
  EXPECT_FALSE(w.frm->mmCreateInst->isEnabled());
  w.frm->cmCreateInst();
  EXPECT_EQ(progIds.size(), 3u);
  EXPECT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(w.frm->sb->text(), "Ready");
}

TEST(cmCreateInst, AnUnresolvableProgIdShowsOnlyTheStatusText) {
  Captured captured;
  // The real probe: a Wine prefix that does not exist gives no instance.
  Window w(ToolHost{ToolHost::Kind::Wine, "/nonexistent/brannock-prefix"});
  qputenv("BRANNOCK_INSTANCE_HELPER", "/nonexistent/brannock-instance.exe");
  w.Select(w.frm->OCRoot, "Alpha Class");
  w.frm->mmCreateInst->trigger();
  qunsetenv("BRANNOCK_INSTANCE_HELPER");
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_TRUE(captured.reports.empty());
  EXPECT_EQ(w.frm->sb->text(), "Ready");
}

#ifdef BRANNOCK_TLB_DIR
TEST(cmViewTLB, ShowsTheObjectsLibraryModallyWhileWorking) {
  Captured captured;
  Window w(ToolHost{});
  QTreeWidgetItem* shapes = w.Select(w.frm->OCRoot, "Shapes Server");
  ASSERT_TRUE(w.frm->mmView->isEnabled());
  ModalSeen seen;
  WatchModal(seen, w.frm.get());
  w.frm->mmView->trigger();
  EXPECT_TRUE(seen.opened);
  EXPECT_EQ(seen.title, "ITypeLib Viewer");
  EXPECT_EQ(seen.mainStatus, "Working...");
  EXPECT_EQ(seen.typeTreeItems, 1);
  EXPECT_EQ(w.frm->sb->text(), "Ready");
  EXPECT_TRUE(w.frm->findChildren<TfrmTLBView*>().isEmpty());

  // The button and a double click in the tree open it the same way.
  ModalSeen byButton;
  WatchModal(byButton, w.frm.get());
  QTest::mouseClick(w.frm->bView, Qt::LeftButton);
  EXPECT_TRUE(byButton.opened);
  ModalSeen byDoubleClick;
  WatchModal(byDoubleClick, w.frm.get());
  w.DoubleClick(shapes);
  EXPECT_TRUE(byDoubleClick.opened);
  EXPECT_EQ(byDoubleClick.mainStatus, "Working...");
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_TRUE(captured.reports.empty());
  EXPECT_EQ(w.frm->sb->text(), "Ready");
}
#endif

TEST(cmViewTLB, RootsAreIgnoredAndObjectsWithoutLibraryGiveTheLoadError) {
  Captured captured;
  Window w(ToolHost{});
  ModalSeen seen;
  w.Select(w.frm->OCRoot, "");
  WatchModal(seen, w.frm.get());
  w.frm->cmViewTLB();
  w.DoubleClick(w.frm->OCRoot);
  // Nothing focused: nothing either.
  w.frm->Tree->setCurrentItem(nullptr);
  w.frm->cmViewTLB();
  w.frm->cmCreateInst();
  QTest::qWait(0);
  EXPECT_FALSE(seen.opened);
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_TRUE(captured.reports.empty());
  EXPECT_EQ(w.frm->sb->text(), "Ready");

  // An application ID names no library and no server file: the viewer's
  // load error, then "Ready".
  w.Select(w.frm->AIRoot, "Alpha App");
  w.DoubleClick(w.frm->Tree->currentItem());
  ASSERT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(captured.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(captured.boxes[0].text, platform::ErrorCodeText(0x80004001));
  EXPECT_EQ(w.frm->sb->text(), "Ready");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(cmViewTypeLib, OpensTheChosenFileAndNothingOnCancel) {
  Captured captured;
  Window w(ToolHost{});
  int asked = 0;
  QString chosen;
  TfrmMain::SetTypeLibFileChooser([&](QWidget* owner) {
    EXPECT_EQ(owner, w.frm.get());
    ++asked;
    return chosen;
  });
  ModalSeen cancelled;
  WatchModal(cancelled, w.frm.get());
  w.frm->mmViewTypeLib->trigger();
  QTest::qWait(0);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(cancelled.opened);
  EXPECT_TRUE(captured.boxes.empty());

#ifdef BRANNOCK_TLB_DIR
  chosen = BRANNOCK_TLB_DIR "/shapes.tlb";
  ModalSeen opened;
  WatchModal(opened, w.frm.get());
  w.frm->mmViewTypeLib->trigger();
  EXPECT_TRUE(opened.opened);
  EXPECT_EQ(opened.mainStatus, "Ready");  // this command leaves the status bar alone
  EXPECT_TRUE(captured.boxes.empty());
#endif
  // A file that is no type library: the viewer's load error.
  chosen = QString::fromStdString((std::filesystem::path(BRANNOCK_TEST_SOURCE_DIR) / "ui_qt.cmake").string());
  w.frm->mmViewTypeLib->trigger();
  ASSERT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(captured.boxes[0].kind, BoxKind::Error);
}

TEST(cmViewTypeLib, AFileWithSeveralLibrariesAsksWhichOne) {
  const auto fm20 = std::filesystem::path(BRANNOCK_TEST_SOURCE_DIR) / ".." / ".." / "shared" / "fixtures" / "real" /
                    "typelib" / "pe" / "win8-wow64_FM20.DLL";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fm20, ec)) GTEST_SKIP() << "../shared/fixtures/real is missing";
  Captured captured;
  Window w(ToolHost{});
  TfrmMain::SetTypeLibFileChooser([&](QWidget*) { return QString::fromStdString(fm20.string()); });
  QStringList offered;
  int answer = -1;
  TfrmMain::SetTypeLibResourceChooser([&](QWidget* owner, const QStringList& items) {
    EXPECT_EQ(owner, w.frm.get());
    offered = items;
    return answer;
  });
  ModalSeen cancelled;
  WatchModal(cancelled, w.frm.get());
  w.frm->mmViewTypeLib->trigger();
  QTest::qWait(0);
  ASSERT_EQ(offered.size(), 2);
  EXPECT_TRUE(offered[0].startsWith("1: MSForms {0D452EE1-E08F-101A-852E-02608C4D0BB4} 2.0")) << offered[0].toStdString();
  EXPECT_TRUE(offered[1].startsWith("2: MSForms {AC2DE821-36A2-11CF-8053-00AA006009FA}")) << offered[1].toStdString();
  EXPECT_FALSE(cancelled.opened) << "cancelled: no viewer";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  answer = 1;
  ModalSeen opened;
  WatchModal(opened, w.frm.get());
  w.frm->mmViewTypeLib->trigger();
  EXPECT_TRUE(opened.opened);
  EXPECT_GT(opened.typeTreeItems, 0);
  EXPECT_TRUE(captured.boxes.empty());
  TfrmMain::SetTypeLibResourceChooser(nullptr);
}

}  // namespace
}  // namespace brannock::ui::testing
