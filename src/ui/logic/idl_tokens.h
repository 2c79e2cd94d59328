// Colouring of IDL text, line by line, in the token classes of the Object
// Pascal colouring (ui/logic/pascal_tokens.h) plus the attributes: the
// words inside "[ ]" that are not inside parentheses there. The state a line
// leaves behind (an open /* */ comment, open brackets and parentheses) is
// carried into the next.
#pragma once

#include <cstdint>
#include <vector>

#include "common/text.h"
#include "ui/logic/pascal_tokens.h"

namespace brannock::ui {

// What a line of IDL hands on to the next one.
struct TIdlLineState {
  bool InComment = false;  // inside /* */
  uint16_t Brackets = 0;   // open "[" (an attribute list spans lines)
  uint16_t Parens = 0;     // open "(" inside the brackets
  friend bool operator==(const TIdlLineState&, const TIdlLineState&) = default;
};

// Cuts `line` into runs (adjacent runs of one class are merged) and returns
// the state at its end. `runs` is cleared first.
TIdlLineState TokenizeIdlLine(TextView line, TIdlLineState state, std::vector<TTokenRun>* runs);

// The notation a viewer shows a library in.
enum class TUnitLanguage : uint8_t { Pascal, Idl };

// The state a line of either notation hands on.
struct TUnitLineState {
  TPascalLineState Pascal;
  TIdlLineState Idl;
  friend bool operator==(const TUnitLineState&, const TUnitLineState&) = default;
};

// TokenizePascalLine or TokenizeIdlLine, as `language` says.
TUnitLineState TokenizeUnitLine(TUnitLanguage language, TextView line, TUnitLineState state,
                                std::vector<TTokenRun>* runs);

}  // namespace brannock::ui
