#include "ui/logic/comparison_view.h"

#include <cstdio>
#include <memory>
#include <string_view>

#include "analysis/comparison_text.h"
#include "platform/files.h"
#include "registry/hive_store.h"
#include "registry/registry_source.h"

namespace brannock::ui {

namespace {

// Whether the file begins as Wine's registry files do.
bool IsWineRegistryFile(const std::filesystem::path& file) {
  constexpr std::string_view kHead = "WINE REGISTRY Version 2";
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(platform::OpenFileForReading(file), &std::fclose);
  if (!f) return false;
  char head[3 + kHead.size()] = {};
  const size_t n = std::fread(head, 1, sizeof head, f.get());
  const std::string_view text(head, n);
  return text.starts_with(kHead) || (text.starts_with("\xEF\xBB\xBF") && text.substr(3).starts_with(kHead));
}

}  // namespace

std::vector<FileFilter> ComparisonSourceFilters() {
  std::vector<FileFilter> filters{{u"Registry Files (*.reg)", {u"*.reg"}},
                                  {u"Wine Prefixes (system.reg)", {u"system.reg"}}};
  if (registry::HiveSupported()) filters.push_back({u"Hives (*.hiv;*.dat)", {u"*.hiv", u"*.dat"}});
  filters.push_back({u"All Files (*.*)", {u"*.*"}});
  return filters;
}

std::filesystem::path ComparisonSourceOf(const std::filesystem::path& chosen) {
  const Text name = platform::HostPathText(chosen.filename());
  if (!EqualsNoCase(name, u"system.reg") && !EqualsNoCase(name, u"user.reg")) return chosen;
  const std::filesystem::path folder = chosen.parent_path();
  if (registry::NotAWinePrefix(folder) || !IsWineRegistryFile(chosen)) return chosen;
  return folder;
}

Comparison CompareWith(const std::filesystem::path& before, registry::RegistryBackend& now,
                       registry::RegistryView view) {
  registry::RegistrySource earlier = registry::OpenRegistryPath(before);
  Comparison comparison;
  comparison.before = before;
  comparison.beforeDescription = earlier.Description();
  comparison.result = analysis::CompareInView(*earlier.backend, now, view);
  return comparison;
}

std::vector<TObjectNode> ComparisonNodes(const analysis::RegistryComparison& result, TObjectType typ) {
  const auto& differences = result.Of(typ);
  std::vector<TextView> names;
  names.reserve(differences.size());
  for (const analysis::ObjectDifference& d : differences) names.push_back(d.name);
  std::vector<TObjectNode> nodes;
  nodes.reserve(differences.size());
  for (int32_t i : SortedChildOrder(names)) nodes.push_back(TObjectNode{differences[static_cast<size_t>(i)].name, typ, i, {}});
  return nodes;
}

const analysis::ObjectDifference* DifferenceOf(const analysis::RegistryComparison& result, const TObjectNode& node) {
  const auto& differences = result.Of(node.Typ);
  if (node.Index < 0 || static_cast<size_t>(node.Index) >= differences.size()) return nullptr;
  return &differences[static_cast<size_t>(node.Index)];
}

Text ComparisonStatusText(const Comparison& comparison) {
  return u"Compared with " + comparison.beforeDescription + u": " +
         analysis::ComparisonCountsText(comparison.result.counts);
}

std::vector<RegLine> MarkedPaneLines(const analysis::ObjectDifference& difference) {
  std::vector<RegLine> lines;
  lines.reserve(difference.lines.size());
  for (const analysis::DiffLine& d : difference.lines) {
    RegLine line = d.line;
    if (d.mark != analysis::LineMark::Same) {
      const TextView mark = d.mark == analysis::LineMark::Added ? u"+ " : u"- ";
      line.text.insert(0, mark);
      if (!line.keyPath.empty()) line.valueTextAt += mark.size();
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

Colour ChangeColour(analysis::ObjectChange change) {
  switch (change) {
    case analysis::ObjectChange::Added: return {0x1E, 0x8C, 0x32};
    case analysis::ObjectChange::Removed: return {0xC8, 0x28, 0x28};
    case analysis::ObjectChange::Changed: return {0xD2, 0x7D, 0x00};
  }
  return {0, 0, 0};
}

std::optional<Colour> LineColour(analysis::LineMark mark) {
  switch (mark) {
    case analysis::LineMark::Added: return ChangeColour(analysis::ObjectChange::Added);
    case analysis::LineMark::Removed: return ChangeColour(analysis::ObjectChange::Removed);
    case analysis::LineMark::Same: break;
  }
  return std::nullopt;
}

}  // namespace brannock::ui
