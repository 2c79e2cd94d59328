// The letter rule of Find: texts compared without regard to case, the same
// on every platform (not the host's locale): the letters of ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic are folded onto their capitals;
// every other code unit stands for itself.
#pragma once

#include "common/text.h"

namespace brannock::analysis {

char16_t FoldForSearch(char16_t c);
Text FoldedForSearch(TextView text);

}  // namespace brannock::analysis
