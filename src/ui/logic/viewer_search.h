// Position arithmetic of the viewer's searches, in the editor's document
// positions (the caret sits between characters; a selection runs from its
// anchor to the caret).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/text.h"
#include "ui/logic/idl_tokens.h"

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
// their line ends), says which one is the declaration line. In IDL that is
// a line of the library block (four blanks lead it) that declares the name:
// "interface", "dispinterface", "coclass" or "module" and the name (not a
// forward declaration, which ends in ";"), "typedef" with "enum", "struct"
// or "union" and the name, or a "typedef" whose last word is the name; and
// the "library" line of the library's name.
class TDeclarationLineRule {
 public:
  explicit TDeclarationLineRule(TextView nodeText, TUnitLanguage language = TUnitLanguage::Pascal);
  bool IsDeclaration(TextView line);
  // Where the match lies in the declaration line last found: " Name = " in
  // Object Pascal, the name in IDL (a blank before it either way).
  size_t MatchStart() const { return matchStart_; }
  size_t MatchLength() const { return matchLength_; }

 private:
  bool IsIdlDeclaration(TextView line);

  Text name_;
  TUnitLanguage language_;
  Text wanted_;
  bool blockHead_ = false;  // after a "type" line and its comment lines
  size_t matchStart_ = 0;
  size_t matchLength_ = 0;
};

// The declaration's match in the whole text in `language`: its start (an
// index of a UTF-16 code unit) and length.
struct TTextMatch {
  size_t Start = 0;
  size_t Length = 0;
};
std::optional<TTextMatch> FindDeclarationMatch(TextView text, TextView nodeText, TUnitLanguage language);

// What the viewer searches for when a text has no declaration line:
// DeclarationSearchText in Object Pascal, a blank and the name in IDL.
Text DeclarationSearchText(TextView nodeText, TUnitLanguage language);

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
