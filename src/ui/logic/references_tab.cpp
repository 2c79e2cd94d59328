#include "ui/logic/references_tab.h"

#include "ui/logic/object_tree.h"

namespace brannock::ui {

std::vector<ReferenceRow> ReferenceRows(const analysis::References& references) {
  std::vector<ReferenceRow> rows;
  rows.reserve(references.lines.size());
  for (const analysis::Reference& r : references.lines) {
    ReferenceRow row;
    row.relation = r.relation;
    row.typ = analysis::ObjectTypeOf(r.kind);
    if (row.typ) row.image = TreeGetImageIndex(false, *row.typ);
    row.name = r.missing ? (r.name.empty() ? Text(kMissingMark) : r.name + u" " + kMissingMark) : r.name;
    row.guid = r.guid;
    row.missing = r.missing;
    if (row.typ && r.index && !r.missing) row.index = r.index;
    if (!row.index) row.typ.reset();
    rows.push_back(std::move(row));
  }
  return rows;
}

Text ReadingLibrariesText(size_t done, size_t total) {
  return Text(kReadingLibrariesCaption) + u": " + UIntToText(done) + u" of " + UIntToText(total);
}

bool ReadLibraries(analysis::LibraryScan& scan, typelib::TypeLibLoader& loader, BusyDisplay& busy,
                   LibraryProgress& progress) {
  if (scan.Finished()) return true;
  BusyScope scope(busy, BusyScope::Cursor::Wait, ReadingLibrariesText(scan.Done(), scan.Total()));
  while (!scan.Finished()) {
    const Text text = ReadingLibrariesText(scan.Done(), scan.Total());
    busy.SetStatusText(text);
    progress.Progress(text, scan.Done(), scan.Total());
    if (progress.Cancelled()) return false;
    scan.ReadNext(loader);
  }
  return true;
}

}  // namespace brannock::ui
