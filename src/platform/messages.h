// The system's message text of a failure code, and the error text shown for
// a failure code: "%s (Error code: 0x%x)".
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock::platform {

// The operating system's message for the code (FormatMessageW on Windows, a
// table of the same English messages elsewhere), cut by TrimMessageText.
// Empty when the system has no message for the code.
Text SystemMessageText(uint32_t code);

// "%s (Error code: 0x%x)": the system text, then the code as unsigned
// hexadecimal with upper-case digits and no leading zeros (0x80004001, 0x5).
Text ErrorCodeText(uint32_t code);

// At most 256 characters, then trailing characters with codes up to 0x20 and
// trailing full stops removed (repeatedly, in any mix).
Text TrimMessageText(TextView message);

}  // namespace brannock::platform
