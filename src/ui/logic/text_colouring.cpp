#include "ui/logic/text_colouring.h"

#include <algorithm>

namespace brannock::ui {

void TTextColouring::SetLanguage(TUnitLanguage language) {
  if (language == language_) return;
  language_ = language;
  starts_.assign(1, TUnitLineState{});
}

void TTextColouring::Invalidate(int64_t line) {
  starts_.resize(static_cast<size_t>(std::clamp<int64_t>(line + 1, 1, static_cast<int64_t>(starts_.size()))));
}

void TTextColouring::Prepare(const TTextDocument& document) {
  const int64_t last = document.LineCount() - 1;
  starts_.reserve(static_cast<size_t>(document.LineCount()));
  while (static_cast<int64_t>(starts_.size()) <= last) {
    const int64_t line = static_cast<int64_t>(starts_.size()) - 1;
    starts_.push_back(TokenizeUnitLine(language_, document.Line(line), starts_.back(), &runs_));
  }
}

const std::vector<TTokenRun>& TTextColouring::RunsOf(const TTextDocument& document, int64_t line) {
  line = std::clamp<int64_t>(line, 0, document.LineCount() - 1);
  while (static_cast<int64_t>(starts_.size()) <= line) {
    const int64_t known = static_cast<int64_t>(starts_.size()) - 1;
    starts_.push_back(TokenizeUnitLine(language_, document.Line(known), starts_.back(), &runs_));
  }
  const TUnitLineState end =
      TokenizeUnitLine(language_, document.Line(line), starts_[static_cast<size_t>(line)], &runs_);
  if (static_cast<int64_t>(starts_.size()) == line + 1 && line + 1 < document.LineCount()) starts_.push_back(end);
  return runs_;
}

}  // namespace brannock::ui
