// The comparison of two registries as text: the report that brannock-cli
// prints, its CSV form for scripts, and the counts line that ends the report
// and stands in the windows' status bar. Lines end in "\n".
#pragma once

#include "analysis/registry_comparison.h"

namespace brannock::analysis {

// "3 added, 1 removed, 2 changed".
Text ComparisonCountsText(const ComparisonCounts& counts);

// Lines of context kept around each changed stretch of an object's lines.
inline constexpr size_t kDiffContextLines = 3;

// Per collection that differs, in the order of the tree's roots: its root
// caption, then one line per object ("added   {GUID} name", "removed ...",
// "changed ..."); below a changed object its registry lines in unified-diff
// hunks ("@@ -3,4 +3,5 @@", then each line after " ", "-" or "+", indented by
// three blanks per level as Copy to Clipboard indents them). Last the counts
// line.
Text ComparisonReport(const RegistryComparison& comparison);

// "collection;GUID;name;change;key path;before;now" and then one line per
// value that differs: for an added object each of its values, for a removed
// one each of its values, for a changed one each value whose text changed,
// appeared or disappeared. The key path is the key's path below
// HKEY_CLASSES_ROOT, followed by "[name]" for a named value; `before` or
// `now` is empty where the value is missing. A field holding ";", a double
// quote or a line end is put in double quotes (inner quotes doubled).
Text ComparisonCsv(const RegistryComparison& comparison);

}  // namespace brannock::analysis
