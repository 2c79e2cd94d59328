#include "analysis/comparison_text.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "catalogue/object_kinds.h"

namespace brannock::analysis {

namespace {

Text Counted(size_t n, TextView what) { return UIntToText(n) + u" " + Text(what); }

// The part of a hunk header for one side: "start,count", where start is
// the line before the hunk when the side has no line in it.
Text HunkRange(size_t linesBefore, size_t count) {
  return UIntToText(count > 0 ? linesBefore + 1 : linesBefore) + u"," + UIntToText(count);
}

void AppendLine(Text& out, const DiffLine& d) {
  out.push_back(d.mark == LineMark::Same ? u' ' : d.mark == LineMark::Removed ? u'-' : u'+');
  out.append(static_cast<size_t>(std::max(d.line.level, 0)) * 3, u' ');
  out += d.line.text;
  out.push_back(u'\n');
}

// The changed stretches of the lines with kDiffContextLines lines around
// each; stretches whose context would touch are one hunk.
void AppendHunks(Text& out, const std::vector<DiffLine>& lines) {
  size_t i = 0;
  const size_t n = lines.size();
  auto changedAt = [&](size_t k) { return lines[k].mark != LineMark::Same; };
  while (i < n) {
    while (i < n && !changedAt(i)) ++i;
    if (i == n) break;
    const size_t start = i > kDiffContextLines ? i - kDiffContextLines : 0;
    size_t end = i;  // one past the last changed line so far
    for (size_t k = i; k < n && k < end + 2 * kDiffContextLines + 1; ++k)
      if (changedAt(k)) end = k + 1;
    const size_t stop = std::min(n, end + kDiffContextLines);
    size_t beforeLines = 0;
    size_t nowLines = 0;
    for (size_t k = 0; k < start; ++k) {
      if (lines[k].mark != LineMark::Added) ++beforeLines;
      if (lines[k].mark != LineMark::Removed) ++nowLines;
    }
    size_t beforeCount = 0;
    size_t nowCount = 0;
    for (size_t k = start; k < stop; ++k) {
      if (lines[k].mark != LineMark::Added) ++beforeCount;
      if (lines[k].mark != LineMark::Removed) ++nowCount;
    }
    out += u"@@ -" + HunkRange(beforeLines, beforeCount) + u" +" + HunkRange(nowLines, nowCount) + u" @@\n";
    for (size_t k = start; k < stop; ++k) AppendLine(out, lines[k]);
    i = stop;
  }
}

void AppendField(Text& out, TextView field) {
  if (field.find_first_of(u";\"\r\n") == TextView::npos) {
    out += field;
    return;
  }
  out.push_back(u'"');
  for (char16_t c : field) {
    if (c == u'"') out.push_back(u'"');
    out.push_back(c);
  }
  out.push_back(u'"');
}

void AppendRow(Text& out, std::initializer_list<TextView> fields) {
  bool first = true;
  for (TextView field : fields) {
    if (!first) out.push_back(u';');
    first = false;
    AppendField(out, field);
  }
  out.push_back(u'\n');
}

struct ValueRow {
  Text keyPath;  // with "[name]" for a named value
  std::optional<Text> before;
  std::optional<Text> now;
};

// The values of an object's marked lines, in the order they first appear;
// a value removed and added with the same text (it only moved) is left out.
std::vector<ValueRow> ValueRows(const std::vector<DiffLine>& lines) {
  std::vector<ValueRow> rows;
  std::unordered_map<Text, size_t> rowOf;
  for (const DiffLine& d : lines) {
    if (d.mark == LineMark::Same || d.line.keyPath.empty()) continue;
    Text path = d.line.keyPath;
    if (!d.line.valueName.empty()) path += u"[" + d.line.valueName + u"]";
    auto [it, fresh] = rowOf.try_emplace(UpperAscii(path), rows.size());
    if (fresh) rows.push_back(ValueRow{std::move(path), std::nullopt, std::nullopt});
    ValueRow& row = rows[it->second];
    (d.mark == LineMark::Removed ? row.before : row.now) = Text(d.line.ValueText());
  }
  std::erase_if(rows, [](const ValueRow& r) { return r.before && r.now && *r.before == *r.now; });
  return rows;
}

}  // namespace

Text ComparisonCountsText(const ComparisonCounts& counts) {
  return Counted(counts.added, u"added") + u", " + Counted(counts.removed, u"removed") + u", " +
         Counted(counts.changed, u"changed");
}

Text ComparisonReport(const RegistryComparison& comparison) {
  Text out;
  for (TObjectType typ : kTreeOrder) {
    const auto& differences = comparison.Of(typ);
    if (differences.empty()) continue;
    out += Text(KindOf(typ).rootCaption) + u"\n";
    for (const ObjectDifference& d : differences) {
      Text change = ObjectChangeName(d.change);
      change.resize(8, u' ');
      out += change + d.guid + u" " + d.name + u"\n";
      if (d.change == ObjectChange::Changed) AppendHunks(out, d.lines);
    }
  }
  out += ComparisonCountsText(comparison.counts) + u"\n";
  return out;
}

Text ComparisonCsv(const RegistryComparison& comparison) {
  Text out = u"collection;GUID;name;change;key path;before;now\n";
  for (TObjectType typ : kTreeOrder) {
    const TextView collection = KindOf(typ).rootCaption;
    for (const ObjectDifference& d : comparison.Of(typ)) {
      const Text change = ObjectChangeName(d.change);
      for (const ValueRow& row : ValueRows(d.lines))
        AppendRow(out, {collection, d.guid, d.name, change, row.keyPath, row.before.value_or(Text()),
                        row.now.value_or(Text())});
    }
  }
  return out;
}

}  // namespace brannock::analysis
