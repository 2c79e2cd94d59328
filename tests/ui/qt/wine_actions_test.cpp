// The object commands against a real Wine prefix: regsvr32 registers and
// unregisters a fixture server, and the instance helper creates instances of
// Wine's own classes. Run by scripts/wine-actions-stage.sh, which sets
//   BRANNOCK_WINE_ACTIONS_PREFIX  the prefix (also WINEPREFIX)
//   BRANNOCK_REGSVR_FIXTURE       the fixture server's Windows path
//   BRANNOCK_INSTANCE_HELPER      the cross-built brannock-instance.exe
// Without them these tests are skipped.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>

#include "actions_fixture.h"
#include "registry/registry_reader.h"

namespace brannock::ui::testing {
namespace {

using registry::RootKey;

constexpr char16_t kFixtureClass[] = u"CLSID\\{B4A22F01-0000-4000-8000-0000000000F1}";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// The prefix's registry as its files hold it once wineserver has written
// them.
bool PrefixHasKey(const std::string& prefix, TextView path) {
  if (std::system("wineserver -w") != 0) ADD_FAILURE() << "wineserver -w failed";
  registry::RegistrySource source = registry::OpenRegistryPath(prefix);
  return registry::RegistryReader::ProcessView(*source.backend).KeyExists(path);
}

TEST(WineActions, Regsvr32RegistersAndUnregistersTheSelectedServer) {
  const std::string prefix = Env("BRANNOCK_WINE_ACTIONS_PREFIX");
  const std::string server = Env("BRANNOCK_REGSVR_FIXTURE");
  if (prefix.empty() || server.empty()) GTEST_SKIP() << "run by scripts/wine-actions-stage.sh";
  Captured captured;
  registry::MemoryStore store;
  store.SetString(RootKey::ClassesRoot, u"CLSID\\{F1}", u"", u"Fixture Server");
  store.SetString(RootKey::ClassesRoot, u"CLSID\\{F1}\\InprocServer32", u"", Utf8ToUtf16(server));
  Catalogue catalogue(store);
  TfrmMain::Options options;
  options.tools = {ToolHost::Kind::Wine, prefix};
  TfrmMain frm(catalogue, std::move(options));
  frm.show();
  QTreeWidgetItem* item = ChildNamed(frm.OCRoot, "Fixture Server");
  ASSERT_TRUE(item);
  frm.Tree->setCurrentItem(item);
  ASSERT_FALSE(PrefixHasKey(prefix, kFixtureClass));

  QTest::mouseClick(frm.bReg, Qt::LeftButton);
  EXPECT_TRUE(PrefixHasKey(prefix, kFixtureClass));
  QTest::mouseClick(frm.bUnreg, Qt::LeftButton);
  EXPECT_FALSE(PrefixHasKey(prefix, kFixtureClass));
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_TRUE(captured.reports.empty());
}

TEST(WineActions, TheHelperCreatesInstancesOfWinesClasses) {
  const std::string prefix = Env("BRANNOCK_WINE_ACTIONS_PREFIX");
  if (prefix.empty() || Env("BRANNOCK_INSTANCE_HELPER").empty()) GTEST_SKIP() << "run by scripts/wine-actions-stage.sh";
  const ToolHost wine{ToolHost::Kind::Wine, prefix};
  // scrrun's dictionary is an automation object with type information.
  EXPECT_EQ(ProbeInstance(wine, u"Scripting.Dictionary").outcome, InstanceReport::Outcome::Ok);
  EXPECT_EQ(ProbeInstance(wine, u"Scripting.FileSystemObject").outcome, InstanceReport::Outcome::Ok);
  EXPECT_EQ(ProbeInstance(wine, u"Brannock.No.Such.Class").outcome, InstanceReport::Outcome::None);

  // Through the window: the class read from the prefix itself.
  Captured captured;
  registry::RegistrySource source = registry::OpenRegistryPath(prefix);
  Catalogue catalogue(*source.backend);
  TfrmMain::Options options;
  options.tools = wine;
  TfrmMain frm(catalogue, std::move(options));
  frm.show();
  std::vector<InstanceReport> reports;
  SetInstanceProbe([&](const ToolHost& host, TextView progId) {
    reports.push_back(ProbeInstance(host, progId));
    return reports.back();
  });
  QTreeWidgetItem* item = ChildNamed(frm.OCRoot, "Scripting.Dictionary");
  ASSERT_TRUE(item) << "no Dictionary class in the prefix";
  frm.Tree->setCurrentItem(item);
  ASSERT_TRUE(frm.mmCreateInst->isEnabled());
  frm.mmCreateInst->trigger();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].outcome, InstanceReport::Outcome::Ok);
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_EQ(frm.sb->text(), "Ready");
}

}  // namespace
}  // namespace brannock::ui::testing
