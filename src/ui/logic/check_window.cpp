#include "ui/logic/check_window.h"

#include "analysis/machine_files.h"
#include "analysis/registration_check.h"

namespace brannock::ui {

using analysis::Finding;
using analysis::Severity;

std::vector<CheckRow> CheckRows(const analysis::Findings& findings) {
  std::vector<CheckRow> rows;
  rows.reserve(findings.size());
  for (const Finding& f : findings) {
    CheckRow row{f.severity, {}, f.reason, f.keyPath, f.treeKind, f.guid};
    for (const Text* part : {&f.name, &f.guid}) {
      if (part->empty() || (part == &f.guid && f.guid == f.name)) continue;
      row.object += (row.object.empty() ? u"" : u" ") + *part;
    }
    const Text kind = analysis::KindText(f.kind);
    if (!row.object.empty() && !kind.empty()) row.object = kind + u" " + row.object;
    if (row.object.empty()) row.object = f.keyPath.empty() ? Text(u"(the registry source)") : f.keyPath;
    rows.push_back(std::move(row));
  }
  return rows;
}

Text CheckCountText(const analysis::Findings& findings) {
  size_t counts[3] = {};
  for (const Finding& f : findings) ++counts[static_cast<size_t>(f.severity)];
  const char16_t* names[3][2] = {{u"error", u"errors"}, {u"warning", u"warnings"}, {u"note", u"notes"}};
  Text out;
  for (size_t s = 0; s < 3; ++s) {
    if (counts[s] == 0) continue;
    out += (out.empty() ? u"" : u", ") + UIntToText(counts[s]) + u" " + names[s][counts[s] == 1 ? 0 : 1];
  }
  return out.empty() ? Text(u"No findings.") : out + u". Double-click a row to select its object.";
}

namespace {

// The files of the machine shown: the live registry's are this machine's.
analysis::MachineFiles FilesOf(registry::RegistrySource* source, bool wow64) {
  if (source != nullptr) return analysis::MachineFiles::ForSource(*source, {}, wow64);
  registry::RegistrySource live;
  live.kind = registry::RegistrySource::Kind::Live;
  return analysis::MachineFiles::ForSource(live, {}, wow64);
}

}  // namespace

void TCheckCommands::cmCheckRegistrations() {
  analysis::Findings findings;
  {
    BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait);
    registry::RegistryBackend& store = checkView_ ? checkView_->Store() : checkCatalogue_.Backend();
    const registry::RegistryView view = checkView_ ? checkView_->View() : registry::DefaultView(store);
    analysis::MachineFiles files = FilesOf(checkSource_, registry::SeesWow64Files(store, view));
    findings = analysis::CheckRegistrations(checkCatalogue_, store, view, files, {}, nullptr);
  }
  const std::vector<CheckRow> rows = CheckRows(findings);
  const std::optional<size_t> chosen = ShowCheckResult(rows, CheckCountText(findings));
  if (!chosen || *chosen >= rows.size() || !rows[*chosen].typ) return;
  const TObjects& list = checkCatalogue_.List(*rows[*chosen].typ);
  for (size_t i = 0; i < list.size(); ++i)
    if (EqualsNoCase(list[i].GUID, rows[*chosen].guid)) return SelectFindingObject(*rows[*chosen].typ, i);
}

}  // namespace brannock::ui
