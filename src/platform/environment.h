// The process environment.
#pragma once

#include "common/text.h"

namespace brannock::platform {

// The entries of the process environment block, NAME=VALUE, in block order,
// unfiltered (on Windows this includes the hidden "=C:=..." entries).
TextList EnvironmentBlock();

}  // namespace brannock::platform
