#include "ui/logic/detail_pane.h"

#include "catalogue/object_kinds.h"
#include "common/text_rules.h"

namespace brannock::ui {

Text RootPaneText(int childCount) {
  if (childCount <= 0) return u"Expand node to retrieve items";
  return u"Node contains " + IntToText(childCount) + u" items";
}

CommandStates CommandStatesFor(const TObjectData& snapshot, bool toolsRun) {
  CommandStates s;
  s.registerServer = toolsRun && !snapshot.Server.empty();
  s.createInstance = !snapshot.ProgId.empty();
  s.viewTypeLib = !snapshot.TypeLib.empty() || !snapshot.Server.empty();
  return s;
}

Text CopySummaryText(TextView name, TextView guid, const std::vector<SummaryLine>& lines) {
  Text out = u"Name: " + Text(name) + u"\r\n";
  out += u"GUID: " + Text(guid) + u"\r\n";
  out += Text(80, u'-') + u"\r\n";
  for (const SummaryLine& line : lines) {
    out += Text(static_cast<size_t>(line.level > 0 ? line.level * 3 : 0), u' ');
    out += line.text + u"\r\n";
  }
  return out;
}

Text CopySummaryText(TextView name, TextView guid, const std::vector<RegLine>& lines) {
  std::vector<SummaryLine> summary;
  summary.reserve(lines.size());
  for (const RegLine& line : lines) summary.push_back({line.level, line.text});
  return CopySummaryText(name, guid, summary);
}

}  // namespace brannock::ui
