// Small text routines shared by the catalogue and the windows.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock {

// True when nothing is left after removing all characters with codes up to
// 0x20 from both ends.
bool IsBlank(TextView s);

// Reads a 32-bit integer in the runtime's syntax: optional leading blanks, an
// optional sign, then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X"; nothing may follow. Hexadecimal values up to FFFFFFFF
// wrap to negative numbers as a 32-bit two's complement.
bool TryStrToInt(TextView s, int32_t* value);

// Splits "major.minor" into two unsigned numbers; a part that does not read
// leaves 0 (see the catalogue documentation for the exact rule).
void ParseVersion(TextView s, uint32_t* major, uint32_t* minor);

}  // namespace brannock
