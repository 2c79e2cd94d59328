#include "ui/logic/detail_pane.h"

#include <gtest/gtest.h>

#include "ui/logic/object_actions.h"

namespace brannock::ui {
namespace {

TEST(DetailPane, RootTextsAndEnabling) {
  EXPECT_EQ(RootPaneText(0), u"Expand node to retrieve items");
  EXPECT_EQ(RootPaneText(250), u"Node contains 250 items");

  TObjectData d;
  CommandStates s = CommandStatesFor(d, true);
  EXPECT_FALSE(s.registerServer || s.createInstance || s.viewTypeLib);
  d.TypeLib = u"{T}";
  s = CommandStatesFor(d, true);
  EXPECT_TRUE(s.viewTypeLib);
  EXPECT_FALSE(s.registerServer);
  d = TObjectData{};
  d.Server = u"x.dll";
  d.ProgId = u"A.B";
  s = CommandStatesFor(d, true);
  EXPECT_TRUE(s.registerServer && s.createInstance && s.viewTypeLib);
  // Where regsvr32 cannot run (a .reg export, a hive, the demo registry)
  // registering stays off; the rest does not depend on it.
  s = CommandStatesFor(d, false);
  EXPECT_FALSE(s.registerServer);
  EXPECT_TRUE(s.createInstance && s.viewTypeLib);
  using registry::RegistrySource;
  EXPECT_TRUE(RunsTools(ToolHostFor(RegistrySource::Kind::WinePrefix, "/p")));
  EXPECT_FALSE(RunsTools(ToolHostFor(RegistrySource::Kind::RegFile, "/x.reg")));
  EXPECT_FALSE(RunsTools(ToolHostFor(RegistrySource::Kind::Hive, "/x.hiv")));
  EXPECT_FALSE(RunsTools(ToolHostFor(RegistrySource::Kind::Demo, {})));
}

TEST(DetailPane, CopySummaryText) {
  const Text text = CopySummaryText(u"Foo", u"{C}", {{0, u"CLSID"}, {1, u"{C} = Foo"}, {2, u"X = y"}});
  EXPECT_EQ(text, u"Name: Foo\r\nGUID: {C}\r\n" + Text(80, u'-') + u"\r\nCLSID\r\n   {C} = Foo\r\n      X = y\r\n");
  EXPECT_EQ(CopySummaryText(u"", u"", std::vector<SummaryLine>{}), u"Name: \r\nGUID: \r\n" + Text(80, u'-') + u"\r\n");
}

}  // namespace
}  // namespace brannock::ui
