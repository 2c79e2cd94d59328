#include "analysis/registration_index.h"

#include <gtest/gtest.h>

#include "analysis/analysis_registry.h"
#include "catalogue/object_kinds.h"
#include "registry/viewed_registry.h"

namespace brannock::analysis {
namespace {

using namespace testing;

TEST(RegistrationIndex, ReadsEveryObjectsKeysIntoTheCatalogue) {
  registry::MemoryStore store;
  RegisterAnalysisFixtures(store, u"C:\\Shapes\\shapes.tlb");
  // Values that are no text are left out; a REG_DWORD ProgID among them.
  store.SetDword(HKCR, Text(u"CLSID\\") + kEmulator + u"\\ProgID", u"", 7);
  Catalogue catalogue(store);
  catalogue.CaptureEnvironment();
  // A list already read is taken as it is, not read again.
  catalogue.ReadAppIDs(catalogue.AIList);
  catalogue.AIList.push_back({u"Added by hand", u"{B4A26099-0000-4000-8000-000000000099}"});
  const RegistrationIndex index(catalogue);

  ASSERT_EQ(index.classes.size(), catalogue.OCList.size());
  ASSERT_EQ(index.interfaces.size(), 5u);
  ASSERT_EQ(index.appIds.size(), 3u);
  EXPECT_EQ(index.appIds[2].name, u"Added by hand");
  for (const ObjectKind& kind : kObjectKinds) {
    ASSERT_EQ(index.Count(kind.typ), catalogue.List(kind.typ).size());
    for (uint32_t i = 0; i < index.Count(kind.typ); ++i) {
      EXPECT_EQ(index.Name(kind.typ, i), catalogue.List(kind.typ)[i].Name);
      EXPECT_EQ(index.Guid(kind.typ, i), catalogue.List(kind.typ)[i].GUID);
      EXPECT_EQ(index.Find(kind.typ, LowerAscii(index.Guid(kind.typ, i))), i) << "GUIDs found in any case";
    }
  }
  EXPECT_FALSE(index.Find(TObjectType::otCLSID, kIShape)) << "each kind has its own GUIDs";
  EXPECT_FALSE(index.Find(TObjectType::otInterface, u"{6A1B2C3D-0007-4A5B-8C9D-0123456789A}"));

  const auto& shape = index.classes[*index.Find(TObjectType::otCLSID, kShape)].keys;
  EXPECT_EQ(shape.progId, u"Shapes.Shape.2");
  EXPECT_EQ(shape.versionIndependentProgId, u"Shapes.Shape");
  EXPECT_EQ(shape.inprocServer32, u"C:\\Program Files\\Shapes\\ShapeServer.dll") << "expanded";
  EXPECT_EQ(shape.appId, kService);
  EXPECT_EQ(shape.typeLib, kShapeLib);
  const auto& older = index.classes[*index.Find(TObjectType::otCLSID, kAutoEmulator)].keys;
  EXPECT_EQ(older.autoTreatAs, kShape);
  EXPECT_EQ(older.localServer32, u"C:\\Old\\OldShape.exe -Embedding");
  EXPECT_EQ(older.inprocHandler32, u"ole32.dll");
  EXPECT_TRUE(older.inprocServer32.empty());
  const auto& old = index.classes[*index.Find(TObjectType::otCLSID, kEmulator)].keys;
  EXPECT_EQ(old.treatAs, kShape);
  EXPECT_TRUE(old.progId.empty()) << "a REG_DWORD is no ProgID";

  const auto& lib = index.typeLibs[*index.Find(TObjectType::otTypeLib, kShapeLib)].keys;
  ASSERT_EQ(lib.versions.size(), 2u);
  EXPECT_EQ(lib.versions[0].version, u"2.5");
  EXPECT_EQ(lib.versions[0].name, u"Shapes and colours");
  EXPECT_TRUE(lib.versions[0].parsed);
  EXPECT_EQ(lib.versions[0].major, 2u);
  EXPECT_EQ(lib.versions[0].minor, 5u);
  EXPECT_EQ(lib.versions[0].files, (TextList{u"C:\\Shapes\\shapes.tlb", u"C:\\Shapes\\shapes.tlb"}))
      << "win32 and win64; FLAGS and HELPDIR are no locales";
  EXPECT_EQ(lib.versions[1].files, TextList{u"C:\\nowhere\\shapes99.tlb"});
  EXPECT_EQ(lib.versions[1].major, 9u);

  const auto& plain = index.interfaces[*index.Find(TObjectType::otInterface, kIPlain)].keys;
  EXPECT_EQ(plain.typeLib, kGoneLib);
  EXPECT_EQ(plain.baseInterface, u"{00000000-0000-0000-C000-000000000046}");
  EXPECT_EQ(plain.proxyStubClsid, kOrphan);
  EXPECT_TRUE(plain.proxyStubClsid32.empty());
  const auto& circle = index.interfaces[*index.Find(TObjectType::otInterface, kICircle)].keys;
  EXPECT_EQ(circle.proxyStubClsid32, kPSOAInterface);
  EXPECT_EQ(circle.typeLibVersion, u"2.5");

  const auto& service = index.appIds[*index.Find(TObjectType::otAppID, kService)].keys;
  EXPECT_EQ(service.localService, u"ShapeSvc");
  EXPECT_TRUE(service.appId.empty());
  EXPECT_EQ(index.appIds[*index.Find(TObjectType::otAppID, u"SHAPEHOST.EXE")].keys.appId, kService);
}

TEST(RegistrationIndex, ReadsTheViewTheCatalogueReads) {
  registry::MemoryStore store;
  store.SetString(HKCR, u"CLSID\\{B4A26101-0000-4000-8000-000000000001}", u"", u"Both");
  store.SetString(HKCR, u"CLSID\\{B4A26101-0000-4000-8000-000000000001}\\InprocServer32", u"", u"C:\\x64.dll");
  store.SetString(HKCR, u"Wow6432Node\\CLSID\\{B4A26101-0000-4000-8000-000000000001}", u"", u"Both");
  store.SetString(HKCR, u"Wow6432Node\\CLSID\\{B4A26101-0000-4000-8000-000000000001}\\InprocServer32", u"",
                  u"C:\\x86.dll");
  for (auto [view, server] : {std::pair{registry::RegistryView::Bits64, u"C:\\x64.dll"},
                              std::pair{registry::RegistryView::Bits32, u"C:\\x86.dll"}}) {
    registry::ViewedRegistry viewed(store, view);
    Catalogue catalogue(viewed);
    const RegistrationIndex index(catalogue);
    ASSERT_EQ(index.classes.size(), 1u);
    EXPECT_EQ(index.classes[0].keys.inprocServer32, server);
  }
}

TEST(RegistrationIndex, GuidDigits) {
  EXPECT_EQ(GuidDigits(u"{b4a22001-0000-4000-8000-00000000000f}"), "B4A22001000040008000" "00000000000F");
  EXPECT_EQ(GuidDigits(u"0002"), "0002");
  EXPECT_EQ(GuidDigits(u""), "");
  EXPECT_FALSE(GuidDigits(u"brannock.exe"));
  EXPECT_FALSE(GuidDigits(u"{0002 }"));
}

}  // namespace
}  // namespace brannock::analysis
