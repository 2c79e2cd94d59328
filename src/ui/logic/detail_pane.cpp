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

Text KeyRootOf(TObjectType typ) { return KindOf(typ).keyName; }

TextList RegistryTreePaths(const TObjectData& s) {
  TextList paths{KeyRootOf(s.Typ) + u"\\" + s.GUID};
  if (!IsBlank(s.CLSID) && s.Typ != TObjectType::otCLSID) paths.push_back(u"CLSID\\" + s.CLSID);
  if (!IsBlank(s.TypeLib) && s.Typ != TObjectType::otTypeLib) paths.push_back(u"TypeLib\\" + s.TypeLib);
  if (!IsBlank(s.AppId) && s.Typ != TObjectType::otAppID) paths.push_back(u"AppID\\" + s.AppId);
  if (!IsBlank(s.ProgId)) paths.push_back(s.ProgId);
  return paths;
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
