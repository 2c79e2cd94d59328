// Two versions of an object's registry lines set side by side, as a unified
// diff shows them: the longest common sequence of lines (equal in level and
// text) is kept, the other lines of the earlier version are marked removed
// and those of the later one added, the removed ones of a changed stretch
// before its added ones.
#pragma once

#include <cstdint>
#include <vector>

#include "catalogue/registry_tree_builder.h"

namespace brannock::analysis {

enum class LineMark : uint8_t { Same, Removed, Added };

struct DiffLine {
  LineMark mark = LineMark::Same;
  // `parent` is an index into the merged lines: each line hangs under the
  // nearest line before it one level up, whichever its mark.
  RegLine line;
};

// Longer stretches of lines that differ than this (lines of the earlier
// version times lines of the later one) are not searched for common lines:
// they are shown removed, then added.
inline constexpr size_t kMaxDiffCells = size_t{4} << 20;

std::vector<DiffLine> DiffLines(const std::vector<RegLine>& before, const std::vector<RegLine>& now);

// All lines with one mark (the lines of an object only one side has).
std::vector<DiffLine> MarkAll(std::vector<RegLine> lines, LineMark mark);

bool HasChanges(const std::vector<DiffLine>& lines);

}  // namespace brannock::analysis
