// The message of the error an action raises, for comparing with the
// system's fixed texts.
#pragma once

#include <string>
#include <utility>

#include "common/error.h"

namespace brannock::testing {

// The message of the error of type E (or derived) that the action raises;
// "(no error)" when it raises none.
template <typename E, typename Action>
std::string ErrorTextOf(Action&& action) {
  try {
    action();
  } catch (const E& e) {
    return e.what();
  }
  return "(no error)";
}

template <typename Action>
std::string ErrorText(Action&& action) {
  return ErrorTextOf<Error>(std::forward<Action>(action));
}

}  // namespace brannock::testing
