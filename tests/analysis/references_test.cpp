#include "analysis/references.h"

#include <gtest/gtest.h>

#include "analysis/analysis_registry.h"
#include "analysis/catalogue_analysis.h"
#include "platform/files.h"
#include "typelib/memory_typelib.h"
#include "typelib/reader_fixtures.h"

namespace brannock::analysis {
namespace {

using namespace testing;
using typelib::testing::Fixture;

// The fixture registry with shapes.tlb registered by its host path, read
// through the file reader as the viewer reads it.
struct Registered {
  registry::MemoryStore store;
  Catalogue catalogue{store};
  CatalogueAnalysis analysis{catalogue};
  typelib::FileTypeLibLoader loader{&store, typelib::PathMapper()};

  explicit Registered(bool readLibraries = true) {
    RegisterAnalysisFixtures(store, platform::HostPathText(Fixture("shapes.tlb")));
    catalogue.CaptureEnvironment();
    if (readLibraries) analysis.Libraries().ReadAll(loader);
  }

  // "relation;kind;name;GUID" and ";missing" for each line.
  TextList Lines(TObjectType typ, TextView guid, TextList* notes = nullptr) {
    const auto entry = analysis.Index().Find(typ, guid);
    EXPECT_TRUE(entry) << Utf16ToUtf8(guid);
    if (!entry) return {};
    const References refs = analysis.ReferencesOf(typ, *entry);
    if (notes) *notes = refs.notes;
    TextList lines;
    for (const Reference& r : refs.lines) {
      lines.push_back(r.relation + u";" + TargetKindName(r.kind) + u";" + r.name + u";" + r.guid +
                      (r.missing ? u";missing" : u""));
      // Present targets can be gone to, missing ones and ProgIDs cannot.
      EXPECT_EQ(r.index.has_value(), !r.missing && r.kind != TargetKind::ProgID) << Utf16ToUtf8(lines.back());
      if (r.index) {
        EXPECT_EQ(analysis.Index().Guid(*ObjectTypeOf(r.kind), *r.index), r.guid);
      }
    }
    return lines;
  }
};

TEST(References, ClassAndTheInterfacesItsCoclassImplements) {
  REQUIRE_TLB_FIXTURES();
  Registered r;
  TextList notes;
  EXPECT_EQ(r.Lines(TObjectType::otCLSID, kShape, &notes),
            (TextList{
                u"ProgID;ProgID;Shapes.Shape.2;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                u"VersionIndependentProgID;ProgID;Shapes.Shape;;missing",
                u"AppID;AppID;Shape Service;{B4A26020-0000-4000-8000-000000000020}",
                u"TypeLib;TypeLib;Shapes and colours;{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}",
                u"treated as by;CLSID;Old Shape;{B4A26001-0000-4000-8000-000000000001}",
                u"auto-treated as by;CLSID;Older Shape;{B4A26002-0000-4000-8000-000000000002}",
                u"implements [default];Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}",
                u"implements;Interface;ICircle;{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}",
                u"implements;Interface;IPlain;{6A1B2C3D-0006-4A5B-8C9D-0123456789AB}",
                u"implements [default, source];Interface;DShapeEvents;{6A1B2C3D-0009-4A5B-8C9D-0123456789AB}",
                u"same server;CLSID;Shape Helper;{B4A26003-0000-4000-8000-000000000003}",
            }));
  // The version whose file is missing is named among the notes.
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].rfind(u"Not read: Shapes of the future ({6A1B2C3D-0001-4A5B-8C9D-0123456789AB} 9.9): ", 0), 0u)
      << Utf16ToUtf8(notes[0]);
  EXPECT_NE(notes[0].find(u"0x80029C4A"), Text::npos) << Utf16ToUtf8(notes[0]);

  // The proxy/stub class: the interfaces that name it.
  EXPECT_EQ(r.Lines(TObjectType::otCLSID, kPSOAInterface),
            (TextList{u"proxy/stub for;Interface;DShapeEvents;{6A1B2C3D-0009-4A5B-8C9D-0123456789AB}",
                      u"proxy/stub for;Interface;ICircle;{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}",
                      u"proxy/stub for;Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}"}));
  EXPECT_EQ(r.Lines(TObjectType::otCLSID, kEmulator),
            (TextList{u"TreatAs;CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                      u"same server;CLSID;Older Shape;{B4A26002-0000-4000-8000-000000000002}"}))
      << "a LocalServer32's arguments are not part of its file";
}

TEST(References, InterfaceAndTheCoclassesThatImplementIt) {
  REQUIRE_TLB_FIXTURES();
  Registered r;
  EXPECT_EQ(r.Lines(TObjectType::otInterface, kIShape),
            (TextList{u"ProxyStubClsid32;CLSID;PSOAInterface;{00020424-0000-0000-C000-000000000046}",
                      u"TypeLib;TypeLib;Shapes and colours;{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}",
                      u"inherits from;Interface;IDispatch;{00020400-0000-0000-C000-000000000046}",
                      u"inherited by;Interface;ICircle;{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}",
                      u"implemented by [default];CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                      u"declared in;TypeLib;Shapes and colours;{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}"}));
  // Targets that point nowhere are listed, marked missing; a coclass that is
  // not registered as a class keeps its name from the library.
  EXPECT_EQ(r.Lines(TObjectType::otInterface, kIPlain),
            (TextList{u"ProxyStubClsid;CLSID;;{B4A26030-0000-4000-8000-000000000030};missing",
                      u"TypeLib;TypeLib;;{B4A26010-0000-4000-8000-000000000010};missing",
                      u"BaseInterface;Interface;;{00000000-0000-0000-C000-000000000046};missing",
                      u"inherits from;Interface;IUnknown;{00000000-0000-0000-C000-000000000046};missing",
                      u"implemented by [default];CLSID;Hidden;{6A1B2C3D-000B-4A5B-8C9D-0123456789AB};missing",
                      u"implemented by;CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                      u"declared in;TypeLib;Shapes and colours;{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}"}));
  const TextList events = r.Lines(TObjectType::otInterface, kDShapeEvents);
  EXPECT_NE(std::find(events.begin(), events.end(),
                      u"implemented by [default, source];CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}"),
            events.end());
}

TEST(References, TypeLibraryAndAppId) {
  REQUIRE_TLB_FIXTURES();
  Registered r;
  TextList notes;
  EXPECT_EQ(r.Lines(TObjectType::otTypeLib, kShapeLib, &notes),
            (TextList{u"registered class;CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                      u"registered interface;Interface;DShapeEvents;{6A1B2C3D-0009-4A5B-8C9D-0123456789AB}",
                      u"registered interface;Interface;ICircle;{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}",
                      u"registered interface;Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}",
                      u"declares;Interface;DShapeEvents;{6A1B2C3D-0009-4A5B-8C9D-0123456789AB}",
                      u"declares;Interface;ICircle;{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}",
                      u"declares;Interface;IPlain;{6A1B2C3D-0006-4A5B-8C9D-0123456789AB}",
                      u"declares;Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}",
                      u"declares;CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}"}))
      << "what it declares that is registered (Hidden is not)";
  EXPECT_EQ(notes.size(), 1u);
  EXPECT_EQ(r.Lines(TObjectType::otAppID, kService),
            (TextList{u"registered class;CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                      u"executable;AppID;shapehost.exe;shapehost.exe"}));
  EXPECT_EQ(r.Lines(TObjectType::otAppID, u"shapehost.exe"),
            (TextList{u"AppID;AppID;Shape Service;{B4A26020-0000-4000-8000-000000000020}"}));
}

TEST(References, WithoutOrWithPartOfTheLibraries) {
  REQUIRE_TLB_FIXTURES();
  Registered r(/*readLibraries=*/false);
  TextList notes;
  EXPECT_EQ(r.Lines(TObjectType::otInterface, kICircle, &notes),
            (TextList{u"ProxyStubClsid32;CLSID;PSOAInterface;{00020424-0000-0000-C000-000000000046}",
                      u"TypeLib;TypeLib;Shapes and colours;{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}"}));
  EXPECT_EQ(notes, TextList{u"The registered type libraries were not read: what they declare is not listed."});
  // AppIDs need no library.
  r.Lines(TObjectType::otAppID, kService, &notes);
  EXPECT_TRUE(notes.empty());

  // Stopped after the first of the two versions.
  LibraryScan& scan = r.analysis.Libraries();
  EXPECT_EQ(scan.Total(), 2u);
  scan.ReadNext(r.loader);
  r.Lines(TObjectType::otInterface, kICircle, &notes);
  EXPECT_EQ(notes, TextList{u"Reading the type libraries stopped after 1 of 2: what the others declare is not listed."});

  // Read anew from scratch once forgotten.
  r.analysis.Forget();
  EXPECT_FALSE(r.analysis.HasIndex());
  EXPECT_EQ(r.analysis.Libraries().Done(), 0u);
}

TEST(References, ScanOfMemoryLibraries) {
  // A library with a coclass that implements an interface of another, and
  // one that does not load: what is read, the flags and the failure.
  using namespace typelib;
  using namespace typelib::testing;
  auto lib = std::make_shared<MemoryTypeLib>(u"Lib");
  auto base = lib->AddType(TKIND_INTERFACE, u"IBase");
  base->attr.guid = TextToGuid(u"{B4A26201-0000-4000-8000-000000000001}");
  auto derived = lib->AddType(TKIND_INTERFACE, u"IDerived");
  derived->attr.guid = TextToGuid(u"{B4A26202-0000-4000-8000-000000000002}");
  derived->AddImplType(base);
  auto events = lib->AddType(TKIND_DISPATCH, u"DEvents");
  events->attr.guid = TextToGuid(u"{B4A26203-0000-4000-8000-000000000003}");
  auto coclass = lib->AddType(TKIND_COCLASS, u"Thing");
  coclass->attr.guid = TextToGuid(u"{B4A26204-0000-4000-8000-000000000004}");
  coclass->AddImplType(derived, ImplTypeFlag::Default);
  coclass->AddImplType(nullptr);  // a reference that does not resolve is left out
  coclass->AddImplType(events, ImplTypeFlag::Default | ImplTypeFlag::Source);
  lib->AddType(TKIND_ENUM, u"Colour");

  const std::vector<DeclaredType> types = DeclaredTypes(*lib);
  ASSERT_EQ(types.size(), 4u) << "coclasses, interfaces and dispinterfaces";
  EXPECT_EQ(types[0].name, u"IBase");
  EXPECT_TRUE(types[0].implemented.empty());
  ASSERT_EQ(types[1].implemented.size(), 1u);
  EXPECT_EQ(types[1].implemented[0].guid, u"{B4A26201-0000-4000-8000-000000000001}");
  EXPECT_EQ(types[1].implemented[0].name, u"IBase");
  ASSERT_EQ(types[3].implemented.size(), 2u);
  EXPECT_EQ(types[3].kind, TKIND_COCLASS);
  EXPECT_EQ(types[3].implemented[0].flags, ImplTypeFlag::Default);
  EXPECT_EQ(types[3].implemented[1].name, u"DEvents");
  EXPECT_EQ(types[3].implemented[1].flags, ImplTypeFlag::Default | ImplTypeFlag::Source);
}

}  // namespace
}  // namespace brannock::analysis
