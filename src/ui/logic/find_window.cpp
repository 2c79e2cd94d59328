#include "ui/logic/find_window.h"

#include "ui/logic/object_tree.h"

namespace brannock::ui {

std::vector<FindRow> FindRows(const analysis::RegistrationIndex& index, const analysis::FindResult& result) {
  std::vector<FindRow> rows;
  rows.reserve(result.objects.size());
  for (const analysis::FoundObject& o : result.objects) {
    FindRow row{TreeGetImageIndex(false, o.typ), o.typ, o.index, index.Name(o.typ, o.index),
                index.Guid(o.typ, o.index), analysis::FindFieldName(o.field)};
    // The name and the GUID stand in their own columns.
    if (o.field != analysis::FindField::Name && o.field != analysis::FindField::GUID) row.field += u" = " + o.text;
    rows.push_back(std::move(row));
  }
  return rows;
}

Text FindCountText(TextView typed, const analysis::FindResult& result, size_t cap) {
  if (TrimControls(typed).empty()) return {};
  if (result.more) return u"More than " + UIntToText(cap) + u" objects match: type more to narrow the list.";
  if (result.objects.empty()) return u"No object matches.";
  if (result.objects.size() == 1) return u"1 object";
  return UIntToText(result.objects.size()) + u" objects";
}

std::optional<size_t> FindRowToSelect(std::optional<size_t> chosen, size_t rows) {
  if (rows == 0) return std::nullopt;
  return chosen && *chosen < rows ? *chosen : 0;
}

}  // namespace brannock::ui
