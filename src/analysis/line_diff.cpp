#include "analysis/line_diff.h"

#include <algorithm>

namespace brannock::analysis {

namespace {

bool SameLine(const RegLine& a, const RegLine& b) { return a.level == b.level && a.text == b.text; }

// Sets each line's parent to the nearest line before it one level up.
void LinkParents(std::vector<DiffLine>& lines) {
  std::vector<int> lastAtLevel;
  for (size_t i = 0; i < lines.size(); ++i) {
    RegLine& line = lines[i].line;
    const auto level = static_cast<size_t>(std::max(line.level, 0));
    line.parent = level == 0 || level > lastAtLevel.size() ? -1 : lastAtLevel[level - 1];
    lastAtLevel.resize(level + 1);
    lastAtLevel[level] = static_cast<int>(i);
  }
}

void Append(std::vector<DiffLine>& out, LineMark mark, const RegLine& line) { out.push_back({mark, line}); }

// The middle stretch a[ab..ae) against b[bb..be): a longest common
// subsequence by a table of suffix lengths, walked from the front.
void DiffMiddle(std::vector<DiffLine>& out, const std::vector<RegLine>& a, size_t ab, size_t ae,
                const std::vector<RegLine>& b, size_t bb, size_t be) {
  const size_t n = ae - ab;
  const size_t m = be - bb;
  if (n == 0 || m == 0 || n * m > kMaxDiffCells) {
    for (size_t i = ab; i < ae; ++i) Append(out, LineMark::Removed, a[i]);
    for (size_t j = bb; j < be; ++j) Append(out, LineMark::Added, b[j]);
    return;
  }
  // common[i][j]: the longest common sequence of a[ab+i..) and b[bb+j..).
  // Its values are at most min(n, m), which the cell limit keeps in 16 bits.
  std::vector<uint16_t> common((n + 1) * (m + 1), 0);
  auto at = [&](size_t i, size_t j) -> uint16_t& { return common[i * (m + 1) + j]; };
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      at(i, j) = SameLine(a[ab + i], b[bb + j]) ? static_cast<uint16_t>(at(i + 1, j + 1) + 1)
                                                 : std::max(at(i + 1, j), at(i, j + 1));
    }
  }
  size_t i = 0;
  size_t j = 0;
  while (i < n && j < m) {
    if (SameLine(a[ab + i], b[bb + j])) {
      Append(out, LineMark::Same, b[bb + j]);
      ++i;
      ++j;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      Append(out, LineMark::Removed, a[ab + i++]);
    } else {
      Append(out, LineMark::Added, b[bb + j++]);
    }
  }
  for (; i < n; ++i) Append(out, LineMark::Removed, a[ab + i]);
  for (; j < m; ++j) Append(out, LineMark::Added, b[bb + j]);
}

}  // namespace

std::vector<DiffLine> DiffLines(const std::vector<RegLine>& before, const std::vector<RegLine>& now) {
  size_t head = 0;
  while (head < before.size() && head < now.size() && SameLine(before[head], now[head])) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && tail < now.size() - head &&
         SameLine(before[before.size() - 1 - tail], now[now.size() - 1 - tail]))
    ++tail;
  std::vector<DiffLine> out;
  out.reserve(std::max(before.size(), now.size()));
  for (size_t k = 0; k < head; ++k) Append(out, LineMark::Same, now[k]);
  DiffMiddle(out, before, head, before.size() - tail, now, head, now.size() - tail);
  for (size_t k = now.size() - tail; k < now.size(); ++k) Append(out, LineMark::Same, now[k]);
  LinkParents(out);
  return out;
}

std::vector<DiffLine> MarkAll(std::vector<RegLine> lines, LineMark mark) {
  std::vector<DiffLine> out;
  out.reserve(lines.size());
  for (RegLine& line : lines) out.push_back({mark, std::move(line)});
  LinkParents(out);
  return out;
}

bool HasChanges(const std::vector<DiffLine>& lines) {
  return std::any_of(lines.begin(), lines.end(), [](const DiffLine& l) { return l.mark != LineMark::Same; });
}

}  // namespace brannock::analysis
