// Position arithmetic of the viewer's searches, in the editor's document
// positions (the caret sits between characters; a selection runs from its
// anchor to the caret).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/text.h"

namespace brannock::ui {

// What a declaration line of the rendered unit holds for a type node's
// text: a blank, the name, " = " (two blanks lead the line, so the match
// starts at the second one).
Text DeclarationSearchText(TextView nodeText);

// Where the declaration of the type shown by a node's text starts in the
// unit's text, as an index of a UTF-16 code unit: the second blank of the
// type's declaration line, that is the first line of a "type" block (after
// its comment lines) that reads two blanks, the exact name and " = ". This
// is looked for first, because the search text also matches an enumeration
// constant of the same name earlier in the unit; nothing when the text (which
// the user may have edited) has no such line, and the viewer then searches
// for DeclarationSearchText anywhere.
std::optional<size_t> FindDeclarationLine(TextView text, TextView nodeText);

// The same rule for a text kept as lines: given the lines in order (without
// their line ends), says which one is the declaration line.
class TDeclarationLineRule {
 public:
  explicit TDeclarationLineRule(TextView nodeText);
  bool IsDeclaration(TextView line);

 private:
  Text wanted_;
  bool blockHead_ = false;  // after a "type" line and its comment lines
};

// Where a double-click on a type node leaves the editor once its declaration
// was found: the found line becomes the third visible one (the view stays at
// the top when the line is near it), only the character in front of the
// match is selected, and the caret stays behind the match.
struct TDeclarationJump {
  int64_t FirstVisibleLine = 0;
  int64_t Caret = 0;
  // The one selected character [SelectionStart, SelectionEnd); empty when
  // the match begins the text.
  int64_t SelectionStart = 0;
  int64_t SelectionEnd = 0;
};

// `positionBeforeMatch` is the position one character before `matchStart`
// (the document's multi-byte or line-break rules decide where that is).
TDeclarationJump DeclarationJump(int64_t foundLine, int64_t matchStart, int64_t matchEnd,
                                 int64_t positionBeforeMatch);

// The range a find request searches: from the caret to the end of the text,
// or back to its start; no wrap-around.
struct TSearchRange {
  int64_t From = 0;
  int64_t To = 0;
};
TSearchRange FindRange(int64_t caret, int64_t textLength, bool forward);

// The selection a match leaves: the caret after the match when searching
// forward, before it when searching backwards, so that the next request
// finds the next match.
struct TMatchSelection {
  int64_t Anchor = 0;
  int64_t Caret = 0;
};
TMatchSelection MatchSelection(int64_t matchStart, int64_t matchEnd, bool forward);

}  // namespace brannock::ui
