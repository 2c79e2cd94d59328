#include "ui/logic/comparison_commands.h"

#include <gtest/gtest.h>

#include "analysis/comparison_text.h"
#include "platform/files.h"
#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"
#include "registry/registry_source.h"

namespace brannock::ui {
namespace {

const std::filesystem::path kPrefix = BRANNOCK_TEST_DATA "/registry/wine_prefix";

// The window's controls as a log of what they were asked to show.
class Window : public TComparisonCommands, public BusyDisplay {
 public:
  Window(registry::RegistryBackend& store, const registry::ViewedRegistry* view) : TComparisonCommands(store, view) {}

  Text chosen;
  std::vector<std::string> log;

  BusyDisplay& StatusDisplay() override { return *this; }
  Text ChooseComparisonSource() override { return chosen; }
  void ShowComparison(const Comparison* c) override {
    log.push_back(c ? "show " + Utf16ToUtf8(analysis::ComparisonCountsText(c->result.counts)) : "plain tree");
  }
  void SetWaitCursor(bool wait) override { log.push_back(wait ? "wait cursor" : "normal cursor"); }
  void SetStatusText(TextView text) override { log.push_back(Utf16ToUtf8(text)); }
  void Repaint() override {}
};

TEST(ComparisonCommands, CompareWithEndComparisonAndCompareAgain) {
  registry::RegistrySource shown = registry::OpenRegistryPath(kPrefix);
  auto& store = static_cast<registry::MemoryStore&>(*shown.backend);
  store.SetReadOnly(false);
  registry::ViewedRegistry view(store, registry::RegistryView::Bits64);
  Window w(store, &view);

  // Cancelling the dialog does nothing; nothing to end or compare again.
  w.cmCompareWith();
  w.cmEndComparison();
  w.CompareAgain();
  EXPECT_TRUE(w.log.empty());
  EXPECT_FALSE(w.Comparing());

  // The prefix chosen by its system.reg, compared with itself.
  w.chosen = platform::HostPathText(kPrefix / "system.reg");
  w.cmCompareWith();
  EXPECT_EQ(w.log, (std::vector<std::string>{"wait cursor", "Working...", "show 0 added, 0 removed, 0 changed",
                                             "normal cursor", "Ready"}));
  ASSERT_TRUE(w.Comparing());
  EXPECT_EQ(w.CurrentComparison()->before, kPrefix);

  // The registry shown changes and is compared again.
  w.log.clear();
  store.SetString(registry::RootKey::ClassesRoot, u"CLSID\\{0F3A1C2D-0009-4D5E-8F90-A1B2C3D4E5F6}", u"", u"New");
  w.CompareAgain();
  EXPECT_EQ(w.log, (std::vector<std::string>{"wait cursor", "Working...", "show 1 added, 0 removed, 0 changed",
                                             "normal cursor", "Ready"}));

  // A file that is no registry: the error comes after "Ready", and the
  // comparison shown stays.
  w.log.clear();
  w.chosen = u"/nonexistent/before.reg";
  EXPECT_THROW(w.cmCompareWith(), registry::RegistryParseError);
  EXPECT_EQ(w.log, (std::vector<std::string>{"wait cursor", "Working...", "normal cursor", "Ready"}));
  EXPECT_EQ(w.CurrentComparison()->before, kPrefix);

  w.log.clear();
  w.cmEndComparison();
  EXPECT_EQ(w.log, (std::vector<std::string>{"plain tree"}));
  EXPECT_FALSE(w.Comparing());
}

}  // namespace
}  // namespace brannock::ui
