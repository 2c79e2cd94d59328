// The colouring of a whole editable text, in Object Pascal or IDL: the state
// at the start of each line is kept, so that colouring a line far down needs
// only the lines above it once, and an edit recomputes from its first
// changed line on.
#pragma once

#include <vector>

#include "ui/logic/idl_tokens.h"
#include "ui/logic/text_document.h"

namespace brannock::ui {

class TTextColouring {
 public:
  // The notation the text is coloured as; a change forgets every state.
  void SetLanguage(TUnitLanguage language);
  TUnitLanguage Language() const { return language_; }
  // Forgets the states from `line` on (an edit there).
  void Invalidate(int64_t line);
  // The runs of `line` of `document`; valid until the next call.
  const std::vector<TTokenRun>& RunsOf(const TTextDocument& document, int64_t line);
  // Computes the states of every line (done once when a text is opened, so
  // that a jump to its end colours at once).
  void Prepare(const TTextDocument& document);

 private:
  TUnitLanguage language_ = TUnitLanguage::Pascal;
  // starts_[i]: the state at the start of line i, known for i < size().
  std::vector<TUnitLineState> starts_{TUnitLineState{}};
  std::vector<TTokenRun> runs_;
};

}  // namespace brannock::ui
