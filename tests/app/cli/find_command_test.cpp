// brannock-cli --find and --references on the shapes registry of the
// analysis tests, with shapes.tlb read by the file reader.
#include "app/cli/find_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "analysis/analysis_registry.h"
#include "command_test_support.h"
#include "platform/files.h"
#include "typelib/reader_fixtures.h"

using namespace brannock;
using namespace brannock::cli;
using namespace brannock::analysis::testing;
using brannock::testing::Captured;
using typelib::testing::Fixture;

namespace {

struct Shapes {
  registry::MemoryStore store;
  Catalogue catalogue{store};
  typelib::FileTypeLibLoader loader{&store, typelib::PathMapper()};

  Shapes() {
    RegisterAnalysisFixtures(store, platform::HostPathText(Fixture("shapes.tlb")));
    catalogue.CaptureEnvironment();
  }

  std::string Find(TextView text, int* status) {
    return Captured([&](std::FILE* f) { *status = RunFindCommand(catalogue, text, f); });
  }
  std::string References(const TextList& texts, int* status, std::string* notes, bool libraries = true) {
    std::FILE* err = std::tmpfile();
    const std::string out = Captured(
        [&](std::FILE* f) { *status = RunReferencesCommand(catalogue, libraries ? &loader : nullptr, texts, f, err); });
    notes->clear();
    std::rewind(err);
    for (int ch; (ch = std::fgetc(err)) != EOF;) notes->push_back(static_cast<char>(ch));
    std::fclose(err);
    return out;
  }
};

}  // namespace

TEST(FindCommand, EachKindOfTextAndTheExitStatus) {
  Shapes s;
  int status = -1;
  // A server file by its name, in another letter case: both classes of the
  // file, written two ways, with the field and the whole text that matched
  // (expanded as the pane shows it), in the tree's order of names.
  EXPECT_EQ(s.Find(u"SHAPESERVER", &status),
            "CLSID;Shape Helper;{B4A26003-0000-4000-8000-000000000003};InprocServer32;"
            "\"C:\\PROGRAM FILES\\Shapes\\shapeserver.DLL\"\n"
            "CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB};InprocServer32;"
            "C:\\Program Files\\Shapes\\ShapeServer.dll\n");
  EXPECT_EQ(status, 0);
  // A GUID's first digits, lower-case, with a brace; a ProgID.
  EXPECT_EQ(s.Find(u"{6a1b2c3d-0007", &status), "Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB};GUID;"
                                                  "{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}\n");
  EXPECT_EQ(s.Find(u"Shapes.Shape.2", &status),
            "CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB};ProgID;Shapes.Shape.2\n");
  // An AppID's executable.
  EXPECT_NE(s.Find(u"shapehost", &status).find("AppID;shapehost.exe;shapehost.exe;Name;shapehost.exe\n"),
            std::string::npos);
  // Nothing found: no line and the other answer.
  EXPECT_EQ(s.Find(u"no such thing anywhere", &status), "");
  EXPECT_EQ(status, 3);
  EXPECT_EQ(s.Find(u"", &status), "");
  EXPECT_EQ(status, 3);
}

TEST(FindCommand, ReferencesBothWaysWithMissingTargetsAndNotes) {
  REQUIRE_TLB_FIXTURES();
  Shapes s;
  int status = -1;
  std::string notes;
  // The interface, by its name: the coclass that implements it, from the
  // library.
  const std::string ishape = s.References({u"IShape"}, &status, &notes);
  EXPECT_EQ(status, 0);
  EXPECT_NE(ishape.find("Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB};implemented by [default];"
                        "CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}\n"),
            std::string::npos)
      << ishape;
  // The coclass, by its GUID without braces in lower case: the interface.
  const std::string shape = s.References({u"6a1b2c3d-000a-4a5b-8c9d-0123456789ab"}, &status, &notes);
  EXPECT_NE(shape.find("CLSID;Shape Object;{6A1B2C3D-000A-4A5B-8C9D-0123456789AB};implements [default];"
                       "Interface;IShape;{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}\n"),
            std::string::npos)
      << shape;
  // A target that is not registered gets the field "missing".
  EXPECT_NE(shape.find(";VersionIndependentProgID;ProgID;Shapes.Shape;;missing\n"), std::string::npos) << shape;
  // The library version whose file is not there is named once, on the
  // notes' stream.
  EXPECT_NE(notes.find("brannock-cli: Not read: Shapes of the future"), std::string::npos) << notes;
  EXPECT_EQ(notes.find("Not read"), notes.rfind("Not read")) << notes;

  // Without a loader the library's side is left out and said so.
  const std::string unread = s.References({u"IShape"}, &status, &notes, /*libraries=*/false);
  EXPECT_EQ(unread.find("implemented by"), std::string::npos) << unread;
  EXPECT_NE(notes.find("were not read"), std::string::npos) << notes;

  // No object of that GUID or name (a part of a name is no match here).
  EXPECT_EQ(s.References({u"ISha"}, &status, &notes), "");
  EXPECT_EQ(status, 3);

  // Several texts: each object once, in the tree's order (classes before
  // interfaces), whatever the order of the texts; one text that names
  // nothing does not make the answer "no match".
  const std::string both = s.References({u"IShape", u"ISha", u"Shape Object", u"IShape"}, &status, &notes);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(both, shape + ishape);
  EXPECT_EQ(notes.find("Not read"), notes.rfind("Not read")) << notes;
}
