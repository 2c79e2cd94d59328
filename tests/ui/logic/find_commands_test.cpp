// The sequences of Find and References that both main windows follow.
#include "ui/logic/find_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_registry.h"
#include "typelib/memory_typelib.h"

namespace brannock::ui {
namespace {

using namespace analysis::testing;
using Calls = std::vector<std::string>;

class FakeWindow : public TFindCommands, public BusyDisplay {
 public:
  explicit FakeWindow(Catalogue& catalogue) : TFindCommands(catalogue) {}

  Calls calls;
  const TObjectNode* focused = nullptr;
  bool referencesShown = false;
  bool cancel = false;
  size_t libraryLoads = 0;  // by the loaders handed out, once they are gone
  std::vector<ReferenceRow> rows;
  TextList notes;

  // BusyDisplay
  void SetWaitCursor(bool wait) override { calls.push_back(wait ? "wait" : "default"); }
  void SetStatusText(TextView text) override { calls.push_back("status " + Utf16ToUtf8(text)); }
  void Repaint() override {}

  // TFindCommands' controls
  BusyDisplay& StatusDisplay() override { return *this; }
  const TObjectNode* FocusedObjectNode() const override { return focused; }
  void ShowFindWindow() override { calls.push_back("find window"); }
  void SearchFindWindowAgain() override { calls.push_back("search again"); }
  void ExpandRoot(TObjectType typ) override { calls.push_back("expand " + std::to_string(static_cast<int>(typ))); }
  bool SelectObjectNode(TObjectType typ, uint32_t index) override {
    calls.push_back("select " + std::to_string(static_cast<int>(typ)) + " " + std::to_string(index));
    return true;
  }
  bool ReferencesPageShown() const override { return referencesShown; }
  void ShowReferenceRows(const std::vector<ReferenceRow>& r, const TextList& n) override {
    calls.push_back("rows " + std::to_string(r.size()));
    rows = r;
    notes = n;
  }
  class CountingLoader : public typelib::testing::MemoryLoader {
   public:
    explicit CountingLoader(size_t& loads) : loads_(loads) {
      regResult = 0;
      registered = std::make_shared<typelib::testing::MemoryTypeLib>();
    }
    ~CountingLoader() override { loads_ += regCalls.size(); }

   private:
    size_t& loads_;
  };
  std::unique_ptr<typelib::TypeLibLoader> LibraryLoader() override {
    calls.push_back("loader");
    return std::make_unique<CountingLoader>(libraryLoads);
  }
  class Stoppable : public LibraryProgress {
   public:
    explicit Stoppable(FakeWindow& w) : w_(w) {}
    void Progress(TextView, size_t, size_t) override {}
    bool Cancelled() override { return w_.cancel; }

   private:
    FakeWindow& w_;
  };
  std::unique_ptr<LibraryProgress> OpenLibraryProgress() override {
    calls.push_back("progress");
    return std::make_unique<Stoppable>(*this);
  }
};

TEST(FindCommands, GoingToAnObjectReadsItsRootFirst) {
  registry::MemoryStore store;
  Catalogue catalogue(store);
  FakeWindow w(catalogue);
  w.cmFind();
  w.GoToObject(TObjectType::otInterface, 7);
  EXPECT_EQ(w.calls, (Calls{"find window", "expand 3", "select 3 7"}));
}

TEST(FindCommands, ReferencesReadTheLibrariesOnceWhenThePageIsShown) {
  registry::MemoryStore store;
  RegisterAnalysisFixtures(store, u"C:\\Shapes\\shapes.tlb");
  Catalogue catalogue(store);
  FakeWindow w(catalogue);
  // AppID\shapehost.exe comes first: its entry refers to the AppID it names.
  const TObjectNode appId{u"shapehost.exe", TObjectType::otAppID, 0, {}};
  w.focused = &appId;
  w.ShowReferences();
  EXPECT_TRUE(w.calls.empty()) << "the page is not shown: nothing is read";

  // The index is built in the busy state; an AppID needs no library.
  w.referencesShown = true;
  w.ShowReferences();
  EXPECT_EQ(w.calls, (Calls{"wait", "status Working...", "default", "status Ready", "rows 1"}));

  // An interface: the libraries are read (stopped by the user here).
  w.calls.clear();
  const TObjectNode plain{u"IPlain", TObjectType::otInterface, 0, {}};
  w.focused = &plain;
  w.cancel = true;
  w.ShowReferences();
  ASSERT_GE(w.calls.size(), 3u);
  EXPECT_EQ((Calls{w.calls[0], w.calls[1]}), (Calls{"loader", "progress"}));
  EXPECT_EQ(w.calls.back(), "rows " + std::to_string(w.rows.size()));
  ASSERT_FALSE(w.notes.empty());
  EXPECT_EQ(w.notes[0], u"Reading the type libraries stopped after 0 of 2: what the others declare is not listed.");

  // Not asked again at the next selection, until the page is chosen anew.
  w.calls.clear();
  w.cancel = false;
  w.ShowReferences();
  EXPECT_EQ(w.calls.size(), 1u);
  w.calls.clear();
  w.PageChange();
  EXPECT_EQ((Calls{w.calls[0], w.calls[1]}), (Calls{"loader", "progress"}));
  EXPECT_EQ(w.libraryLoads, 2u) << "both registered versions";
  w.calls.clear();
  w.PageChange();
  EXPECT_EQ(w.calls, Calls{"rows " + std::to_string(w.rows.size())}) << "read once";

  // Read anew: the lines go, the Find window searches again, the index is
  // built again when next needed.
  w.calls.clear();
  w.CatalogueReadAnew();
  EXPECT_EQ(w.calls, (Calls{"rows 0", "search again"}));
  w.ShowReferences();
  EXPECT_EQ((Calls{w.calls[2], w.calls[3]}), (Calls{"wait", "status Working..."}));
}

}  // namespace
}  // namespace brannock::ui
