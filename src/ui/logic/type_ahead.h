// Type-ahead search over a tree's shown texts: characters typed less than
// 1000 ms apart form the search text, which must equal the start of a
// node's shown text (letter case counts). The search begins at the focused
// node, walks every node (expanded or not) in display order and wraps
// around once.
#pragma once

#include <cstdint>
#include <optional>

#include "common/text.h"

namespace brannock::ui {

inline constexpr int64_t kTypeAheadIntervalMs = 1000;

class TypeAheadSearch {
 public:
  // Adds what was typed at `timeMs` (a monotonic clock) and returns the
  // search text: a pause of 1000 ms or more starts a new one.
  const Text& Type(TextView typed, int64_t timeMs);
  const Text& SearchText() const { return text_; }

 private:
  Text text_;
  std::optional<int64_t> lastTimeMs_;
};

// Index of the first of `texts` (all nodes in display order) from `start`
// on, wrapping around, whose text starts with `search`; nothing when none
// does or `search` is empty. A `start` outside the list begins at 0.
std::optional<size_t> FindTypeAheadMatch(const TextList& texts, size_t start, TextView search);

}  // namespace brannock::ui
