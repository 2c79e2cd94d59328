// The Find window of both front ends, without a widget: its texts, the rows
// of a result (kind image, name, GUID, the field that matched) and the line
// that says how many objects there are.
#pragma once

#include <vector>

#include "analysis/object_finder.h"

namespace brannock::ui {

inline constexpr char16_t kFindMenuItem[] = u"Find...";
inline constexpr char16_t kFindCaption[] = u"Find";
inline constexpr char16_t kFindPrompt[] = u"Name, ProgID, GUID or file:";
// The result list's columns.
inline constexpr const char16_t* kFindColumns[] = {u"Name", u"GUID", u"Found in"};
inline constexpr int kFindWindowWidth = 560, kFindWindowHeight = 360;

struct FindRow {
  int image = 0;  // the object tree's image of the object
  TObjectType typ = TObjectType::otCLSID;
  uint32_t index = 0;  // in the catalogue's list of its kind
  Text name;
  Text guid;
  Text field;  // "Name", "GUID", or "ProgID = Shapes.Shape.2"
};

std::vector<FindRow> FindRows(const analysis::RegistrationIndex& index, const analysis::FindResult& result);

// Below the list: nothing before a text is typed, "No object matches.",
// "1 object", "12 objects", or, when the cap cut the list, "More than 1000
// objects match: type more to narrow the list."
Text FindCountText(TextView typed, const analysis::FindResult& result, size_t cap = analysis::kFindCap);

// The row that Enter selects: the chosen one, else the first; none when the
// list is empty.
std::optional<size_t> FindRowToSelect(std::optional<size_t> chosen, size_t rows);

}  // namespace brannock::ui
