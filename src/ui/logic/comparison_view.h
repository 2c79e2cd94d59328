// The main window's comparison, the same in both front ends: File >
// "Compare with..." compares the registry shown with an earlier one (a Wine
// prefix, a .reg export or a hive); the four roots then hold only the
// objects that differ, each marked added, removed or changed, the status bar
// counts them, and an object's pane shows its registry lines with the
// removed and added ones marked. "End Comparison" returns to the plain tree.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "analysis/registry_comparison.h"
#include "catalogue/registry_tree_builder.h"
#include "ui/logic/file_filter.h"
#include "ui/logic/object_tree.h"

namespace brannock::ui {

inline constexpr char16_t kCompareWithCaption[] = u"Compare with...";
inline constexpr char16_t kEndComparisonCaption[] = u"End Comparison";

// The open dialog of "Compare with...": a Wine prefix is chosen by its
// system.reg (a dialog picks files, not folders), a .reg export, a hive
// where the build reads hives; then every file.
std::vector<FileFilter> ComparisonSourceFilters();

// The earlier source a chosen file stands for: the prefix folder when the
// file is the system.reg or user.reg of a Wine prefix (a file in Wine's
// registry format in a folder holding system.reg), else the file.
std::filesystem::path ComparisonSourceOf(const std::filesystem::path& chosen);

struct Comparison {
  std::filesystem::path before;  // compared again on Refresh and a change of view
  Text beforeDescription;        // "Registry file before.reg" (RegistrySource::Description)
  analysis::RegistryComparison result;
};

// Reads the earlier source and compares it with `now` (a source's store) in
// `view`. Raises RegistryParseError when the earlier source cannot be read
// and an Error when either lacks the view.
Comparison CompareWith(const std::filesystem::path& before, registry::RegistryBackend& now,
                       registry::RegistryView view);

// The nodes below a root while the window compares: one per object of that
// kind that differs, Index its position in result.Of(typ), in the order
// FillKey sorts names.
std::vector<TObjectNode> ComparisonNodes(const analysis::RegistryComparison& result, TObjectType typ);

// The difference a comparison node stands for; null when there is none.
const analysis::ObjectDifference* DifferenceOf(const analysis::RegistryComparison& result, const TObjectNode& node);

// The status bar while comparing: "Compared with Registry file before.reg:
// 3 added, 1 removed, 2 changed".
Text ComparisonStatusText(const Comparison& comparison);

// The pane's lines of an object that differs: each line's text after "+ "
// when only the registry shown has it, "- " when only the earlier one does,
// as it stands otherwise; nested as the lines are.
std::vector<RegLine> MarkedPaneLines(const analysis::ObjectDifference& difference);

// The colours of the comparison: of an object's badge (window_pictures.h)
// and of its marked pane lines.
struct Colour {
  uint8_t red, green, blue;
};
Colour ChangeColour(analysis::ObjectChange change);
// The colour of a pane line; none for a line both registries have.
std::optional<Colour> LineColour(analysis::LineMark mark);

}  // namespace brannock::ui
