// Colouring of Object Pascal text, line by line: each line is cut into
// runs of one token class, and the state a line leaves behind (an open
// comment, an asm block, a property declaration) is carried into the next.
// Both front ends colour the viewer's text and its printout from these runs.
#pragma once

#include <cstdint>
#include <vector>

#include "common/text.h"

namespace brannock::ui {

enum class TPascalToken : uint8_t {
  Blank,       // white space
  Identifier,  // names and anything else that is plain text
  Keyword,
  Comment,     // { }, (* *) and // comments
  Directive,   // {$ } and (*$ *) compiler directives
  Number,      // 12, 1.5e3, $FF
  String,      // 'text', #13, and a string left open at the end of the line
  Symbol,      // ( ) [ ] ; : , . = + - * / < > ^ @ and the like
  Asm,         // the inside of an asm ... end block
  Attribute,   // IDL: an attribute's name inside [ ]
};

// What a line hands on to the next one.
struct TPascalLineState {
  enum class Open : uint8_t { None, BraceComment, ParenComment, BraceDirective, ParenDirective };
  Open Comment = Open::None;
  bool InAsm = false;
  bool InProperty = false;  // between "property" and its ";"
  bool InExports = false;   // between "exports" and its ";"
  friend bool operator==(const TPascalLineState&, const TPascalLineState&) = default;
};

struct TTokenRun {
  uint32_t Start = 0;
  uint32_t Length = 0;
  TPascalToken Token = TPascalToken::Blank;
  friend bool operator==(const TTokenRun&, const TTokenRun&) = default;
};

// Appends the run [start, start + length) of `token` to `runs`, merged into
// the last run when that one is of the same class and ends at `start`.
void AddTokenRun(std::vector<TTokenRun>* runs, size_t start, size_t length, TPascalToken token);

// Cuts `line` into runs (adjacent runs of one class are merged) and returns
// the state at its end. `runs` is cleared first.
TPascalLineState TokenizePascalLine(TextView line, TPascalLineState state, std::vector<TTokenRun>* runs);

// How a token class is drawn: a colour as 0xRRGGBB on white, bold or not.
// Comments green, numbers blue, strings red, asm fuchsia, attributes teal,
// keywords bold.
struct TTokenStyle {
  uint32_t Colour = 0;
  bool Bold = false;
};
TTokenStyle PascalTokenStyle(TPascalToken token);

}  // namespace brannock::ui
