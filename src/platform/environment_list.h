// The environment list and the two expansions of variable references.
//
// They follow different rules on purpose:
// - ExpandWithEntries is ExpandEnvironmentStringsW's rule: it scans the text
//   once from the left, replaces every %NAME% whose name is in the list
//   (matched without regard to case) and leaves unknown references as
//   written. The registry's REG_EXPAND_SZ texts are expanded with it, over
//   the process environment or a registry file's own.
// - ExpandEnvVars is the catalogue's rule for server paths: it walks the
//   list, not the text, replaces at most the first "%NAME%" (else the first
//   "\NAME") per line, matched case-sensitively, and keeps at most 1024
//   characters after each replacement.
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

// Expands %NAME% references with a given list of NAME=VALUE entries as
// ExpandEnvironmentStringsW does with the process environment.
Text ExpandWithEntries(TextView text, const TextList& entries);

}  // namespace brannock::platform
