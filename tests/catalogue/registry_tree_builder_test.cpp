#include "catalogue/registry_tree_builder.h"

#include <gtest/gtest.h>

#include "registry/memory_store.h"
#include "registry/registry_error.h"
#include "support/root_keys.h"

namespace brannock {
namespace {

using registry::MemoryStore;
using registry::RootKey;


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
  // Key and value lines name their key and value; path lines name none.
  EXPECT_EQ(b.Lines()[0].keyPath, u"");
  EXPECT_EQ(b.Lines()[2].keyPath, u"CLSID\\{C1}");
  EXPECT_EQ(b.Lines()[2].valueName, u"AppID");
  EXPECT_EQ(b.Lines()[2].ValueText(), u"{A1}");
  EXPECT_EQ(b.Lines()[5].keyPath, u"CLSID\\{C1}\\InprocServer32");
  EXPECT_EQ(b.Lines()[5].valueName, u"");
  EXPECT_EQ(b.Lines()[5].ValueText(), u"C:\\x.dll");
  EXPECT_EQ(b.Lines()[3].ValueText(), u"");
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
  for (int i = 0; i < registry::kMaxKeyDepth + 100; ++i) path += u"\\k";
  store.CreatePath(HKCR, path);
  RegistryTreeBuilder b(store, true);
  b.FillRegistryTree(u"CLSID\\{D}");
  // The path line "CLSID", then one key line per level from {D} (level 2
  // of the key path) down to the deepest level allowed.
  ASSERT_EQ(b.Lines().size(), static_cast<size_t>(registry::kMaxKeyDepth));
  EXPECT_EQ(b.Lines().back().level, registry::kMaxKeyDepth - 1);
}

TEST(RegistryTreeBuilder, RegistryTreePathsInOrderWithoutOwnKind) {
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

}  // namespace
}  // namespace brannock
