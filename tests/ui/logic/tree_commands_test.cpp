// Refresh and the View menu's choice: the order of their sequences, fixed
// once for both front ends, over a real file source read again when its
// file changes.
#include "ui/logic/tree_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/comparison_text.h"
#include "common/error.h"
#include "platform/files.h"
#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"
#include "support/test_files.h"

namespace brannock::ui {
namespace {

using registry::RegistryView;
using Log = std::vector<std::string>;

// The window's controls as a log of what they were asked to do.
class Window : public TComparisonCommands, public TTreeCommands, public BusyDisplay {
 public:
  Window(Catalogue& catalogue, registry::ViewedRegistry& view, registry::RegistrySource* source)
      : TComparisonCommands(view.Store(), &view),
        TTreeCommands(catalogue, *this, {&view, source}),
        view_(view) {}

  Text chosen;
  Log log;

  BusyDisplay& StatusDisplay() override { return *this; }
  Text ChooseComparisonSource() override { return chosen; }
  void ShowComparison(const Comparison* c) override {
    log.push_back(c ? "show " + Utf16ToUtf8(analysis::ComparisonCountsText(c->result.counts)) : "plain tree");
  }
  void CreateTree() override { log.push_back("create tree"); }
  void FillRoot(TObjectType typ, const TObjects& list) override {
    if (failFill) throw Error(u"fill failed");
    std::string entry = "fill " + std::to_string(static_cast<int>(typ)) + ":";
    for (const TObjectData& object : list) entry += " " + Utf16ToUtf8(object.Name);
    log.push_back(entry);
  }
  void ClearPane() override { log.push_back("clear pane"); }
  void ListsReadAnew() override { log.push_back("lists read anew"); }
  // The next FillRoot raises, as a registry error half-way.
  bool failFill = false;
  void ShowView() override { log.push_back(view_.View() == RegistryView::Bits32 ? "view 32" : "view 64"); }
  void SetWaitCursor(bool wait) override { log.push_back(wait ? "wait cursor" : "normal cursor"); }
  void SetStatusText(TextView text) override { log.push_back(Utf16ToUtf8(text)); }
  void Repaint() override {}

 private:
  registry::ViewedRegistry& view_;
};

void Append(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::app) << text;
}

TEST(TreeCommands, RefreshReadsTheChangedSourceAgainAndEveryRootOrComparesAgain) {
  const std::filesystem::path dir = testing::FreshTestDir("brannock-tree-commands");
  const std::filesystem::path reg = dir / "now.reg";
  const std::string start = "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n@=\"Alpha\"\r\n";
  std::ofstream(reg, std::ios::binary) << start;
  std::ofstream(dir / "before.reg", std::ios::binary) << start;
  registry::RegistrySource source = registry::OpenRegistryPath(reg);
  registry::ViewedRegistry view(*source.backend, RegistryView::Bits64);
  Catalogue catalogue(view);
  Window w(catalogue, view, &source);

  // The roots are built anew, then each filled with its list read now: the
  // class added to the file since it was opened is there.
  Append(reg, "[HKEY_CLASSES_ROOT\\CLSID\\{B}]\r\n@=\"Beta\"\r\n");
  w.Refresh();
  EXPECT_EQ(w.log, (Log{"wait cursor", "Working...", "create tree", "fill 0: Alpha Beta", "fill 1:", "fill 2:",
                        "fill 3:", "lists read anew", "normal cursor", "Ready"}));
  // Reading that fails half-way still drops what was built from the lists
  // before.
  w.failFill = true;
  w.log.clear();
  EXPECT_THROW(w.Refresh(), Error);
  EXPECT_EQ(w.log, (Log{"wait cursor", "Working...", "create tree", "lists read anew", "normal cursor", "Ready"}));
  w.failFill = false;

  // While comparing no root is built: the lists are emptied and the
  // comparison made again with the registry as it reads after the reload.
  w.chosen = platform::HostPathText(dir / "before.reg");
  w.cmCompareWith();
  ASSERT_TRUE(w.Comparing());
  Append(reg, "[HKEY_CLASSES_ROOT\\CLSID\\{C}]\r\n@=\"Gamma\"\r\n");
  w.log.clear();
  w.Refresh();
  // (The comparison keeps its own busy state, within Refresh's.)
  EXPECT_EQ(w.log, (Log{"wait cursor", "Working...", "wait cursor", "Working...", "show 2 added, 0 removed, 0 changed",
                        "normal cursor", "Ready", "lists read anew", "normal cursor", "Ready"}));
  EXPECT_TRUE(catalogue.OCList.empty());

  // A file that no longer reads raises once "Ready" is back; nothing was
  // built from it.
  w.cmEndComparison();
  std::ofstream(reg, std::ios::binary) << "not a registry file";
  w.log.clear();
  EXPECT_THROW(w.Refresh(), registry::RegistryParseError);
  EXPECT_EQ(w.log, (Log{"wait cursor", "Working...", "normal cursor", "Ready"}));
  std::filesystem::remove_all(dir);
}

TEST(TreeCommands, ChoosingAViewClearsThePaneShowsTheViewThenReadsItsTree) {
  registry::MemoryStore both;
  both.SetString(registry::RootKey::ClassesRoot, u"CLSID\\{C64}", u"", u"Sixty-four");
  both.SetString(registry::RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\{C32}", u"", u"Thirty-two");
  registry::ViewedRegistry view(both, RegistryView::Bits64);
  Catalogue catalogue(view);
  catalogue.ReadList(TObjectType::otCLSID);
  Window w(catalogue, view, nullptr);

  // The view shown: it is only shown again.
  w.cmChooseView(RegistryView::Bits64);
  EXPECT_EQ(w.log, Log{"view 64"});
  EXPECT_EQ(catalogue.OCList.size(), 1u);

  // The other view: no line of the 64-bit view stays in the pane, and the
  // new view shows before its tree is read, in case reading fails half-way.
  w.log.clear();
  w.cmChooseView(RegistryView::Bits32);
  EXPECT_EQ(w.log, (Log{"clear pane", "view 32", "wait cursor", "Working...", "create tree", "fill 0: Thirty-two",
                        "fill 1:", "fill 2:", "fill 3:", "lists read anew", "normal cursor", "Ready", "view 32"}));

  // A view the source lacks changes nothing.
  registry::MemoryStore only32;
  only32.SetMachineView(RegistryView::Bits32);
  registry::ViewedRegistry view32(only32, RegistryView::Bits32);
  Catalogue catalogue32(view32);
  Window w32(catalogue32, view32, nullptr);
  EXPECT_THROW(w32.cmChooseView(RegistryView::Bits64), Error);
  EXPECT_TRUE(w32.log.empty());
  EXPECT_EQ(view32.View(), RegistryView::Bits32);
}

}  // namespace
}  // namespace brannock::ui
