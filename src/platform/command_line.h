// Splitting a Windows-style command line into arguments.
#pragma once

#include "common/text.h"

namespace brannock::platform {

// Splits by the rules of the Windows C runtime: blanks and tabs separate
// arguments outside double quotes; a double quote starts or ends a quoted
// part (and "" inside quotes is one literal quote); 2n backslashes before a
// quote give n backslashes, 2n+1 give n and a literal quote; other
// backslashes are literal. `regsvr32 "C:\Program Files\x.dll"` gives two
// arguments.
TextList SplitCommandLine(TextView commandLine);

}  // namespace brannock::platform
