// The "References" tab of the detail pane in both front ends, without a
// widget: its caption and columns, one row per reference (relation, the
// target's image, name and GUID, missing targets marked), the notes below
// them, and the reading of the registered type libraries that the tab
// needs, with its progress and a way to stop.
#pragma once

#include <optional>
#include <vector>

#include "analysis/catalogue_analysis.h"
#include "typelib/access.h"
#include "ui/logic/busy_scope.h"

namespace brannock::ui {

// Beside " Registry ", the pane's first tab.
inline constexpr char16_t kReferencesTab[] = u" References ";
inline constexpr const char16_t* kReferencesColumns[] = {u"Relation", u"Name", u"GUID"};
inline constexpr char16_t kMissingMark[] = u"(missing)";

struct ReferenceRow {
  Text relation;
  int image = -1;  // the object tree's image of the target; -1 for a ProgID
  Text name;       // with kMissingMark when the target is missing
  Text guid;
  bool missing = false;
  // Where a double click goes; nothing for a missing target or a ProgID.
  std::optional<TObjectType> typ;
  std::optional<uint32_t> index;
};

std::vector<ReferenceRow> ReferenceRows(const analysis::References& references);

// "Reading type libraries: 41 of 213"
Text ReadingLibrariesText(size_t done, size_t total);
inline constexpr char16_t kReadingLibrariesCaption[] = u"Reading type libraries";

// What a window shows while the libraries are read: the progress (also in
// its status bar), and whether the user asked to stop. Progress lets the
// window handle what the user did in the meantime.
class LibraryProgress {
 public:
  virtual ~LibraryProgress() = default;
  virtual void Progress(TextView text, size_t done, size_t total) = 0;
  virtual bool Cancelled() = 0;
};

// Reads what is left of the scan, one library at a time, in the busy state
// (the wait cursor; the progress as status text), until all are read or
// the user stops; true when all are read. What was read stays, and the
// next call goes on from there.
bool ReadLibraries(analysis::LibraryScan& scan, typelib::TypeLibLoader& loader, BusyDisplay& busy,
                   LibraryProgress& progress);

}  // namespace brannock::ui
