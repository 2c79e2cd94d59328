// The process environment.
#pragma once

#include <cstddef>
#include <optional>

#include "common/text.h"

namespace brannock::platform {

// The entries of the process environment block, NAME=VALUE, in block order,
// unfiltered (on Windows this includes the hidden "=C:=..." entries).
TextList EnvironmentBlock();

// Expands %NAME% references with the process environment as
// ExpandEnvironmentStringsW does: names matched without regard to case,
// references to variables that do not exist left as written. Nothing when
// the result with its terminating NUL does not fit `bufferChars` characters.
std::optional<Text> ExpandEnvironmentStrings(TextView text, size_t bufferChars);

}  // namespace brannock::platform
