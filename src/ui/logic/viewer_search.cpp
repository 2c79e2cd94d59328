#include "ui/logic/viewer_search.h"

#include <algorithm>

namespace brannock::ui {

Text DeclarationSearchText(TextView nodeText) { return u" " + Text(nodeText) + u" = "; }

TDeclarationLineRule::TDeclarationLineRule(TextView nodeText) : wanted_(u"  " + Text(nodeText) + u" = ") {}

bool TDeclarationLineRule::IsDeclaration(TextView line) {
  if (line == u"type") {
    blockHead_ = true;
  } else if (blockHead_ && !line.starts_with(u"  //")) {
    blockHead_ = false;
    return line.starts_with(wanted_);
  }
  return false;
}

std::optional<size_t> FindDeclarationLine(TextView text, TextView nodeText) {
  TDeclarationLineRule rule(nodeText);
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find(u'\n', start);
    if (end == TextView::npos) end = text.size();
    TextView line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (rule.IsDeclaration(line)) return start + 1;
    start = end + 1;
  }
  return std::nullopt;
}

TDeclarationJump DeclarationJump(int64_t foundLine, int64_t matchStart, int64_t matchEnd,
                                 int64_t positionBeforeMatch) {
  TDeclarationJump jump;
  jump.FirstVisibleLine = std::max<int64_t>(0, foundLine - 2);
  jump.Caret = matchEnd;
  jump.SelectionStart = std::clamp<int64_t>(positionBeforeMatch, 0, matchStart);
  jump.SelectionEnd = matchStart;
  return jump;
}

TSearchRange FindRange(int64_t caret, int64_t textLength, bool forward) {
  caret = std::clamp<int64_t>(caret, 0, textLength);
  return forward ? TSearchRange{caret, textLength} : TSearchRange{caret, 0};
}

TMatchSelection MatchSelection(int64_t matchStart, int64_t matchEnd, bool forward) {
  return forward ? TMatchSelection{matchStart, matchEnd} : TMatchSelection{matchEnd, matchStart};
}

}  // namespace brannock::ui
