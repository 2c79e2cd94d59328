// The Find window's rows and the References tab's rows and library reading,
// which both front ends show as they come.
#include <gtest/gtest.h>

#include "analysis/analysis_registry.h"
#include "typelib/memory_typelib.h"
#include "ui/logic/find_window.h"
#include "ui/logic/object_tree.h"
#include "ui/logic/references_tab.h"

namespace brannock::ui {
namespace {

using namespace analysis::testing;

TEST(FindWindow, RowsAndTheCountBelowThem) {
  registry::MemoryStore store;
  RegisterAnalysisFixtures(store, u"C:\\Shapes\\shapes.tlb");
  Catalogue catalogue(store);
  analysis::CatalogueAnalysis analysis(catalogue);
  const analysis::FindResult progIds = analysis.Finder().Find(u"shapes.");
  const std::vector<FindRow> rows = FindRows(analysis.Index(), progIds);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, u"Shape Helper");
  EXPECT_EQ(rows[2].field, u"File = C:\\Shapes\\shapes.tlb");
  EXPECT_EQ(rows[0].field, u"ProgID = Shapes.Helper.1");
  EXPECT_EQ(rows[0].image, TreeGetImageIndex(false, TObjectType::otCLSID));
  EXPECT_EQ(catalogue.OCList[rows[0].index].GUID, rows[0].guid) << "rows name their entries in the catalogue";
  EXPECT_EQ(FindCountText(u"shapes.", progIds), u"3 objects");

  const analysis::FindResult byGuid = analysis.Finder().Find(u"{6a1b2c3d-0001");
  const std::vector<FindRow> lib = FindRows(analysis.Index(), byGuid);
  ASSERT_EQ(lib.size(), 1u);
  EXPECT_EQ(lib[0].field, u"GUID") << "the name and the GUID have columns of their own";
  EXPECT_EQ(lib[0].image, TreeGetImageIndex(false, TObjectType::otTypeLib));
  EXPECT_EQ(FindCountText(u"{6a1b2c3d-0001", byGuid), u"1 object");
  EXPECT_EQ(FindCountText(u"zzz", analysis.Finder().Find(u"zzz")), u"No object matches.");
  EXPECT_EQ(FindCountText(u"  ", analysis.Finder().Find(u"  ")), u"");
  EXPECT_EQ(FindCountText(u"s", analysis.Finder().Find(u"s", 3), 3),
            u"More than 3 objects match: type more to narrow the list.");

  EXPECT_EQ(FindRowToSelect(std::nullopt, 0), std::nullopt);
  EXPECT_EQ(FindRowToSelect(std::nullopt, 5), 0u) << "Enter without a chosen row takes the first";
  EXPECT_EQ(FindRowToSelect(3, 5), 3u);
  EXPECT_EQ(FindRowToSelect(7, 5), 0u);
}

TEST(ReferencesTab, RowsMarkMissingTargetsAndGoOnlyWhereThereIsAnObject) {
  analysis::References refs;
  refs.lines = {{u"TypeLib", analysis::TargetKind::TypeLib, u"Lib", u"{L}", false, 4},
                {u"ProgID", analysis::TargetKind::ProgID, u"A.B", u"{C}", false, std::nullopt},
                {u"implemented by", analysis::TargetKind::CLSID, u"Hidden", u"{H}", true, std::nullopt},
                {u"ProxyStubClsid", analysis::TargetKind::CLSID, u"", u"{P}", true, std::nullopt}};
  const std::vector<ReferenceRow> rows = ReferenceRows(refs);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].typ, TObjectType::otTypeLib);
  EXPECT_EQ(rows[0].index, 4u);
  EXPECT_EQ(rows[0].image, TreeGetImageIndex(false, TObjectType::otTypeLib));
  EXPECT_EQ(rows[1].image, -1) << "a ProgID is no object of the tree";
  EXPECT_FALSE(rows[1].typ);
  EXPECT_EQ(rows[2].name, u"Hidden (missing)");
  EXPECT_EQ(rows[2].image, TreeGetImageIndex(false, TObjectType::otCLSID));
  EXPECT_FALSE(rows[2].typ) << "nowhere to go";
  EXPECT_EQ(rows[3].name, u"(missing)");
}

class RecordingBusy : public BusyDisplay {
 public:
  std::vector<std::string> calls;
  void SetWaitCursor(bool wait) override { calls.push_back(wait ? "wait" : "default"); }
  void SetStatusText(TextView text) override { calls.push_back("status " + Utf16ToUtf8(text)); }
  void Repaint() override { calls.push_back("repaint"); }
};

class StopAfter : public LibraryProgress {
 public:
  explicit StopAfter(size_t shown) : left_(shown) {}
  std::vector<std::string> shown;
  void Progress(TextView text, size_t, size_t) override { shown.push_back(Utf16ToUtf8(text)); }
  bool Cancelled() override { return left_-- == 0; }

 private:
  size_t left_;
};

TEST(ReferencesTab, ReadingTheLibrariesShowsProgressAndStops) {
  registry::MemoryStore store;
  for (const char16_t* guid : {u"{B4A26301-0000-4000-8000-000000000001}", u"{B4A26302-0000-4000-8000-000000000002}",
                               u"{B4A26303-0000-4000-8000-000000000003}"})
    store.SetString(HKCR, Text(u"TypeLib\\") + guid + u"\\1.0\\0\\win64", u"", u"C:\\x.tlb");
  Catalogue catalogue(store);
  analysis::CatalogueAnalysis analysis(catalogue);
  typelib::testing::MemoryLoader loader;
  loader.regResult = 0;
  loader.registered = std::make_shared<typelib::testing::MemoryTypeLib>();
  RecordingBusy busy;
  StopAfter stop(2);
  analysis::LibraryScan& scan = analysis.Libraries();
  EXPECT_FALSE(ReadLibraries(scan, loader, busy, stop));
  EXPECT_EQ(scan.Done(), 2u);
  EXPECT_EQ(stop.shown, (std::vector<std::string>{"Reading type libraries: 0 of 3", "Reading type libraries: 1 of 3",
                                                  "Reading type libraries: 2 of 3"}));
  using Calls = std::vector<std::string>;
  EXPECT_EQ(busy.calls, (Calls{"wait", "status Reading type libraries: 0 of 3", "repaint",
                               "status Reading type libraries: 0 of 3", "status Reading type libraries: 1 of 3",
                               "status Reading type libraries: 2 of 3", "default", "status Ready"}));
  // Asked again, it goes on from there.
  StopAfter never(100);
  EXPECT_TRUE(ReadLibraries(scan, loader, busy, never));
  EXPECT_EQ(scan.Done(), 3u);
  EXPECT_EQ(loader.regCalls.size(), 3u) << "each library read once";
  busy.calls.clear();
  EXPECT_TRUE(ReadLibraries(scan, loader, busy, never));
  EXPECT_TRUE(busy.calls.empty()) << "nothing left: no busy state";
}

}  // namespace
}  // namespace brannock::ui
