// The environment routines of the shared routines unit: the captured
// environment list and the expansion of server paths with it.
#pragma once

#include "common/text.h"

namespace brannock::platform {

// Clears the list, then adds every entry of the process environment block in
// block order, trimmed of characters up to 0x20 at both ends; entries that
// start with "=" (the hidden per-drive entries) are left out.
void GetEnvironmentList(TextList& list);

// Replaces variable references in `text` by values from a NAME=VALUE list:
// for each line in list order, the first "%NAME%" (or, failing that, the
// first "\NAME") found case-sensitively is replaced by the value of the first
// line whose name equals NAME without regard to case, keeping at most 1024
// characters of what follows it.
Text ExpandEnvVars(const TextList& list, const Text& text);

}  // namespace brannock::platform
