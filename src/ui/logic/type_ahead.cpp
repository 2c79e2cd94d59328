#include "ui/logic/type_ahead.h"

namespace brannock::ui {

const Text& TypeAheadSearch::Type(TextView typed, int64_t timeMs) {
  if (!lastTimeMs_ || timeMs - *lastTimeMs_ >= kTypeAheadIntervalMs || timeMs < *lastTimeMs_) text_.clear();
  lastTimeMs_ = timeMs;
  text_ += typed;
  return text_;
}

std::optional<size_t> FindTypeAheadMatch(const TextList& texts, size_t start, TextView search) {
  if (search.empty() || texts.empty()) return std::nullopt;
  if (start >= texts.size()) start = 0;
  for (size_t n = 0; n < texts.size(); ++n) {
    const size_t i = (start + n) % texts.size();
    if (TextView(texts[i]).starts_with(search)) return i;
  }
  return std::nullopt;
}

}  // namespace brannock::ui
