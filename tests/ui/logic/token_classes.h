// The token runs of one line as a string of one letter per character:
// ' ' blank, i identifier, k keyword, c comment, d directive, n number,
// s string, o symbol, a asm, t attribute. The runs must cover the line
// without a gap or an overlap.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/logic/pascal_tokens.h"

namespace brannock::ui::testing {

// `tokenize(line, state, &runs)` returns the state at the end of the line,
// which goes back to `state`.
template <class State, class Tokenize>
std::string TokenClasses(TextView line, State* state, Tokenize tokenize) {
  std::vector<TTokenRun> runs;
  *state = tokenize(line, *state, &runs);
  std::string out(line.size(), '?');
  uint32_t expectedStart = 0;
  for (const TTokenRun& run : runs) {
    EXPECT_EQ(run.Start, expectedStart) << "runs leave a gap or overlap";
    expectedStart = run.Start + run.Length;
    const char letter = " ikcdnsoat"[static_cast<int>(run.Token)];
    for (uint32_t i = 0; i < run.Length; ++i) out[run.Start + i] = letter;
  }
  EXPECT_EQ(expectedStart, line.size());
  return out;
}

}  // namespace brannock::ui::testing
