#include "ui/logic/comparison_view.h"

#include <gtest/gtest.h>

#include "registry/memory_store.h"
#include "registry/registry_source.h"

namespace brannock::ui {
namespace {

using analysis::LineMark;
using analysis::ObjectChange;

const std::filesystem::path kViewPrefix = BRANNOCK_TEST_DATA "/registry/wine_prefix";

TEST(ComparisonView, ChoosesThePrefixOfItsSystemRegAndComparesWithIt) {
  EXPECT_EQ(ComparisonSourceOf(kViewPrefix / "system.reg"), kViewPrefix);
  EXPECT_EQ(ComparisonSourceOf(kViewPrefix / "user.reg"), kViewPrefix);
  const std::filesystem::path exportFile = BRANNOCK_TEST_DATA "/registry/regedit_export.reg";
  EXPECT_EQ(ComparisonSourceOf(exportFile), exportFile);
  const auto filters = ComparisonSourceFilters();
  ASSERT_GE(filters.size(), 3u);
  EXPECT_EQ(filters.front().patterns, (TextList{u"*.reg"}));
  EXPECT_EQ(filters[1].patterns, (TextList{u"system.reg"}));
  EXPECT_EQ(filters.back().name, u"All Files (*.*)");

  // The registry shown: the prefix's, with its second class removed, a
  // value of the first changed and one more class added.
  registry::RegistrySource prefix = registry::OpenRegistryPath(kViewPrefix);
  auto& now = static_cast<registry::MemoryStore&>(*prefix.backend);
  now.SetReadOnly(false);
  now.DeletePath(registry::RootKey::ClassesRoot, u"CLSID\\{0F3A1C2D-0002-4D5E-8F90-A1B2C3D4E5F6}");
  now.SetString(registry::RootKey::ClassesRoot, u"CLSID\\{0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6}", u"", u"Renamed");
  now.SetString(registry::RootKey::ClassesRoot, u"CLSID\\{0F3A1C2D-0009-4D5E-8F90-A1B2C3D4E5F6}", u"", u"Added");
  const Comparison comparison = CompareWith(kViewPrefix, now, registry::RegistryView::Bits64);
  EXPECT_EQ(comparison.before, kViewPrefix);
  EXPECT_EQ(ComparisonStatusText(comparison),
            u"Compared with Wine prefix " + registry::PathForDisplay(kViewPrefix, registry::HomeFolder()) +
                u": 1 added, 1 removed, 1 changed");

  // The root's nodes in the order names sort; Index names the difference.
  const std::vector<TObjectNode> nodes = ComparisonNodes(comparison.result, TObjectType::otCLSID);
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].Text, u"Added");
  EXPECT_EQ(nodes[2].Text, u"Renamed");
  EXPECT_EQ(DifferenceOf(comparison.result, nodes[0])->change, ObjectChange::Added);
  EXPECT_EQ(DifferenceOf(comparison.result, nodes[2])->change, ObjectChange::Changed);
  EXPECT_EQ(DifferenceOf(comparison.result, TObjectNode{u"x", TObjectType::otCLSID, 7, {}}), nullptr);
  EXPECT_TRUE(ComparisonNodes(comparison.result, TObjectType::otInterface).empty());

  // The pane: "- " and "+ " before the lines only one side has.
  const std::vector<RegLine> lines = MarkedPaneLines(*DifferenceOf(comparison.result, nodes[2]));
  std::vector<Text> texts;
  for (const RegLine& l : lines) texts.push_back(l.text);
  EXPECT_EQ(texts, (std::vector<Text>{u"CLSID", u"- {0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6} = User name",
                                      u"+ {0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6} = Renamed",
                                      u"{0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6}[MachineOnly] = m",
                                      u"InprocServer32 = %SystemRoot%\\system32\\sample.dll",
                                      u"InprocServer32[ThreadingModel] = Both"}));
  EXPECT_EQ(lines[2].ValueText(), u"Renamed");
  EXPECT_EQ(lines[2].parent, 0);
  EXPECT_EQ(lines[4].parent, 3);
}

}  // namespace
}  // namespace brannock::ui
