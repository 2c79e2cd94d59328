#include "analysis/object_finder.h"

#include <gtest/gtest.h>

#include "analysis/analysis_registry.h"
#include "analysis/search_text.h"
#include "catalogue/object_kinds.h"

namespace brannock::analysis {
namespace {

using namespace testing;

struct Fixture {
  registry::MemoryStore store;
  Catalogue catalogue{store};
  std::unique_ptr<RegistrationIndex> index;
  std::unique_ptr<ObjectFinder> finder;

  Fixture() {
    RegisterAnalysisFixtures(store, u"C:\\Program Files\\Shapes\\shapes.tlb");
    store.SetString(HKCR, u"Interface\\{B4A26034-0000-4000-8000-000000000034}", u"", u"IŁódź€日本");
    store.SetString(HKCR, u"Interface\\{B4A26035-0000-4000-8000-000000000035}", u"", u"ishape2");
    store.SetString(HKCR, u"Interface\\{B4A26036-0000-4000-8000-000000000036}", u"", u"IShape2");
    catalogue.CaptureEnvironment();
    index = std::make_unique<RegistrationIndex>(catalogue);
    finder = std::make_unique<ObjectFinder>(*index);
  }

  // "kind;name;field;text" for each object found.
  TextList Found(TextView text, size_t cap = kFindCap, bool* more = nullptr) const {
    const FindResult result = finder->Find(text, cap);
    if (more) *more = result.more;
    TextList lines;
    for (const FoundObject& o : result.objects)
      lines.push_back(Text(KindOf(o.typ).keyName) + u";" + index->Name(o.typ, o.index) + u";" +
                      FindFieldName(o.field) + u";" + o.text);
    return lines;
  }
};

TEST(ObjectFinder, GuidsByAnyLeadingPart) {
  Fixture f;
  const TextList shape{u"CLSID;Shape Object;GUID;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}"};
  EXPECT_EQ(f.Found(u"{6a1b2c3d-000a-4a5b-8c9d-0123456789ab}"), shape) << "whole, any case";
  EXPECT_EQ(f.Found(u"6A1B2C3D-000A-4A5B-8C9D-0123456789AB"), shape) << "without braces";
  EXPECT_EQ(f.Found(u"{6a1b2c3d-000a"), shape) << "a leading part";
  EXPECT_EQ(f.Found(u"6A1B2C3D000A4A5B"), shape) << "without dashes";
  EXPECT_EQ(f.Found(u"  {6A1B2C3D-000A}  "), shape) << "blanks around it";
  // Every object whose GUID starts so, of every kind, kind by kind.
  EXPECT_EQ(f.Found(u"6A1B2C3D-000"),
            (TextList{u"CLSID;Shape Object;GUID;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}",
                      u"TypeLib;Shapes and colours;GUID;{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}",
                      u"Interface;DShapeEvents;GUID;{6A1B2C3D-0009-4A5B-8C9D-0123456789AB}",
                      u"Interface;ICircle;GUID;{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}",
                      u"Interface;IPlain;GUID;{6A1B2C3D-0006-4A5B-8C9D-0123456789AB}",
                      u"Interface;IShape;GUID;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}"}));
  // Fewer than four digits are no GUID: "6A1" is searched as a name.
  EXPECT_TRUE(f.Found(u"6A1").empty());
  EXPECT_EQ(f.Found(u"0002").size(), 2u) << "PSOAInterface and IDispatch";
}

TEST(ObjectFinder, NamesProgIdsServersFilesExecutables) {
  Fixture f;
  EXPECT_EQ(f.Found(u"shape helper"), TextList{u"CLSID;Shape Helper;Name;Shape Helper"});
  EXPECT_EQ(f.Found(u"łÓDŹ"), TextList{u"Interface;IŁódź€日本;Name;IŁódź€日本"}) << "letters beyond ASCII";
  EXPECT_EQ(f.Found(u"shapes.shape"), TextList{u"CLSID;Shape Object;ProgID;Shapes.Shape.2"})
      << "the first field that matches names the object once";
  EXPECT_EQ(f.Found(u"Shapes.Shape."), TextList{u"CLSID;Shape Object;ProgID;Shapes.Shape.2"});
  EXPECT_EQ(f.Found(u"Helper.1"), TextList{u"CLSID;Shape Helper;ProgID;Shapes.Helper.1"});
  // A server by its file name and by its path, in any case, as registered.
  EXPECT_EQ(f.Found(u"SHAPESERVER.dll"),
            (TextList{u"CLSID;Shape Helper;InprocServer32;\"C:\\PROGRAM FILES\\Shapes\\shapeserver.DLL\"",
                      u"CLSID;Shape Object;InprocServer32;C:\\Program Files\\Shapes\\ShapeServer.dll"}));
  EXPECT_EQ(f.Found(u"c:\\old\\oldshape.exe"),
            (TextList{u"CLSID;Old Shape;LocalServer32;C:\\Old\\oldshape.exe /automation",
                      u"CLSID;Older Shape;LocalServer32;C:\\Old\\OldShape.exe -Embedding"}));
  EXPECT_EQ(f.Found(u"ole32.dll"), TextList{u"CLSID;Older Shape;InprocHandler32;ole32.dll"});
  EXPECT_EQ(f.Found(u"shapes99"), TextList{u"TypeLib;Shapes and colours;File;C:\\nowhere\\shapes99.tlb"})
      << "the files of every registered version";
  EXPECT_EQ(f.Found(u"shapehost"), (TextList{u"AppID;Shape Service;Executable;shapehost.exe",
                                             u"AppID;shapehost.exe;Name;shapehost.exe"}));
  EXPECT_EQ(f.Found(u"shapesvc"), TextList{u"AppID;Shape Service;LocalService;ShapeSvc"});
  EXPECT_TRUE(f.Found(u"").empty());
  EXPECT_TRUE(f.Found(u" \t").empty());
  EXPECT_TRUE(f.Found(u"no such thing").empty());
}

TEST(ObjectFinder, TreeOrderAndTheCap) {
  Fixture f;
  // Kind by kind; names as the object tree orders them (equal ones by GUID).
  bool more = true;
  EXPECT_EQ(f.Found(u"ishape", kFindCap, &more),
            (TextList{u"Interface;IShape;Name;IShape", u"Interface;ishape2;Name;ishape2",
                      u"Interface;IShape2;Name;IShape2"}));
  EXPECT_FALSE(more);
  EXPECT_EQ(f.Found(u"ishape", 2, &more), (TextList{u"Interface;IShape;Name;IShape", u"Interface;ishape2;Name;ishape2"}));
  EXPECT_TRUE(more);
  EXPECT_EQ(f.Found(u"ishape", 3, &more).size(), 3u);
  EXPECT_FALSE(more) << "exactly as many as the cap are not more";
  EXPECT_EQ(f.Found(u"s", 0, &more).size(), 0u);
  EXPECT_TRUE(more);
}

TEST(SearchText, FoldsLettersOfEveryCommonScript) {
  EXPECT_EQ(FoldedForSearch(u"abz AZ 09 _[`{"), u"ABZ AZ 09 _[`{");
  EXPECT_EQ(FoldedForSearch(u"àéîõüÿ÷"), u"ÀÉÎÕÜŸ÷");
  EXPECT_EQ(FoldedForSearch(u"łąśżźćńĳ"), u"ŁĄŚŻŹĆŃĲ");
  EXPECT_EQ(FoldedForSearch(u"αβγσςωάέ"), u"ΑΒΓΣΣΩΆΈ");
  EXPECT_EQ(FoldedForSearch(u"привет ёж"), u"ПРИВЕТ ЁЖ");
  EXPECT_EQ(FoldedForSearch(u"日本€"), u"日本€");
}

}  // namespace
}  // namespace brannock::analysis
