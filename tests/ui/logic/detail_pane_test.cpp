#include "ui/logic/detail_pane.h"

#include <gtest/gtest.h>

#include "registry/memory_store.h"
#include "registry/registry_error.h"
#include "ui/logic/object_actions.h"
#include "ui/logic/registry_tree_builder.h"

namespace brannock::ui {
namespace {

using registry::MemoryStore;
using registry::RootKey;

constexpr RootKey HKCR = RootKey::ClassesRoot;

std::vector<Text> Indented(const RegistryTreeBuilder& b) {
  std::vector<Text> out;
  for (const RegLine& l : b.Lines()) out.push_back(Text(static_cast<size_t>(l.level) * 2, u' ') + l.text);
  return out;
}

TEST(RegistryTreeBuilder, ClassKeyNestsSubkeysUnderLastValueLine) {
  MemoryStore store;
  store.SetString(HKCR, u"CLSID\\{C1}", u"", u"Foo");
  store.SetString(HKCR, u"CLSID\\{C1}", u"AppID", u"{A1}");
  store.SetString(HKCR, u"CLSID\\{C1}", u" ", u"skipped");
  store.SetString(HKCR, u"CLSID\\{C1}\\InprocServer32", u"", u"C:\\x.dll");
  store.SetString(HKCR, u"CLSID\\{C1}\\InprocServer32", u"ThreadingModel", u"Both");
  store.CreatePath(HKCR, u"CLSID\\{C1}\\Implemented\\Cat");  // only subkeys, no values
  store.SetString(HKCR, u"AppID\\{A1}", u"", u"App");

  RegistryTreeBuilder b(store, true);
  b.FillRegistryTree(u"CLSID\\{C1}");
  b.FillRegistryTree(u"AppID\\{A1}");
  b.FillRegistryTree(u"TypeLib\\{missing}");  // adds nothing, not even a path line
  EXPECT_EQ(Indented(b), (std::vector<Text>{
                             u"CLSID",
                             u"  {C1} = Foo",
                             u"  {C1}[AppID] = {A1}",
                             u"    Implemented = ",
                             u"      Cat = ",
                             u"    InprocServer32 = C:\\x.dll",
                             u"    InprocServer32[ThreadingModel] = Both",
                             u"AppID",
                             u"  {A1} = App",
                         }));
  // Parents: the subkeys hang under the value line, Cat under its key line.
  EXPECT_EQ(b.Lines()[3].parent, 2);
  EXPECT_EQ(b.Lines()[4].parent, 3);
  EXPECT_EQ(b.Lines()[1].parent, 0);
}

TEST(RegistryTreeBuilder, ProgIdKeyIsTopLevelAndExeNamesKeepTheirDots) {
  MemoryStore store;
  store.SetString(HKCR, u"My.Prog.1", u"", u"My class");
  store.SetString(HKCR, u"My.Prog.1\\CLSID", u"", u"{C1}");
  store.SetString(HKCR, u"AppID\\app.exe", u"", u"");
  store.SetString(HKCR, u"AppID\\app.exe", u"AppID", u"{A1}");
  RegistryTreeBuilder b(store, false);
  b.FillRegistryTree(u"My.Prog.1");
  b.FillRegistryTree(u"AppID\\app.exe");
  EXPECT_EQ(Indented(b), (std::vector<Text>{u"My.Prog.1 = My class", u"  CLSID = {C1}", u"AppID", u"  app.exe = ",
                                            u"  app.exe[AppID] = {A1}"}));
  EXPECT_EQ(RegKeyName(u"a\\b:c"), u"c");
}

TEST(RegistryTreeBuilder, HexSwitchAndRegistryErrorKeepLinesSoFar) {
  MemoryStore store;
  store.SetBytes(HKCR, u"Interface\\{I1}", u"Data", registry::RegType::Binary, {0x41, 0x01});
  store.SetBytes(HKCR, u"Interface\\{I1}", u"Big", registry::RegType::Binary, registry::Bytes(8195, 0x41));
  store.SetString(HKCR, u"Interface\\{I1}", u"After", u"x");
  {
    RegistryTreeBuilder hex(store, true);
    EXPECT_THROW(hex.FillRegistryTree(u"Interface\\{I1}"), registry::RegistryError);
    EXPECT_EQ(Indented(hex), (std::vector<Text>{u"Interface", u"  {I1} = ", u"  {I1}[Data] = 41 01"}));
  }
  store.DeletePath(HKCR, u"Interface\\{I1}");
  store.SetBytes(HKCR, u"Interface\\{I1}", u"Data", registry::RegType::Binary, {0x41, 0x01});
  RegistryTreeBuilder chars(store, false);
  chars.FillRegistryTree(u"Interface\\{I1}");
  EXPECT_EQ(chars.Lines().back().text, u"{I1}[Data] = A.");
}

TEST(RegistryTreeBuilder, StopsAtTheRegistryDepthLimit) {
  MemoryStore store;
  Text path = u"CLSID\\{D}";
  for (int i = 0; i < kMaxKeyDepth + 100; ++i) path += u"\\k";
  store.CreatePath(HKCR, path);
  RegistryTreeBuilder b(store, true);
  b.FillRegistryTree(u"CLSID\\{D}");
  // The path line "CLSID", then one key line per level from {D} (level 2
  // of the key path) down to the deepest level allowed.
  ASSERT_EQ(b.Lines().size(), static_cast<size_t>(kMaxKeyDepth));
  EXPECT_EQ(b.Lines().back().level, kMaxKeyDepth - 1);
}

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

TEST(DetailPane, RegistryTreePathsInOrderWithoutOwnKind) {
  TObjectData i;
  i.Typ = TObjectType::otInterface;
  i.GUID = u"{I}";
  i.CLSID = u"{P}";
  i.TypeLib = u"{T}";
  i.AppId = u" ";
  EXPECT_EQ(RegistryTreePaths(i), (TextList{u"Interface\\{I}", u"CLSID\\{P}", u"TypeLib\\{T}"}));

  TObjectData t;
  t.Typ = TObjectType::otTypeLib;
  t.GUID = u"{T}";
  t.TypeLib = u"{T}";
  EXPECT_EQ(RegistryTreePaths(t), (TextList{u"TypeLib\\{T}"}));

  TObjectData c;
  c.GUID = u"{C}";
  c.CLSID = u"{C}";
  c.AppId = u"{A}";
  c.ProgId = u"P.1";
  EXPECT_EQ(RegistryTreePaths(c), (TextList{u"CLSID\\{C}", u"AppID\\{A}", u"P.1"}));
}

TEST(DetailPane, CopySummaryText) {
  const Text text = CopySummaryText(u"Foo", u"{C}", {{0, u"CLSID"}, {1, u"{C} = Foo"}, {2, u"X = y"}});
  EXPECT_EQ(text, u"Name: Foo\r\nGUID: {C}\r\n" + Text(80, u'-') + u"\r\nCLSID\r\n   {C} = Foo\r\n      X = y\r\n");
  EXPECT_EQ(CopySummaryText(u"", u"", std::vector<SummaryLine>{}), u"Name: \r\nGUID: \r\n" + Text(80, u'-') + u"\r\n");
}

}  // namespace
}  // namespace brannock::ui
