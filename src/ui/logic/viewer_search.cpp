#include "ui/logic/viewer_search.h"

#include <algorithm>

namespace brannock::ui {

Text DeclarationSearchText(TextView nodeText) { return u" " + Text(nodeText) + u" = "; }

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
