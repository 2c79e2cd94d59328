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

// Splits "major.minor" at its first "." into two numbers read by
// TryStrToInt (at most 255 characters of the minor part): nothing is read
// without a "."; a major part that does not read leaves both 0, a minor
// part that does not read leaves the minor 0.
void ParseVersion(TextView s, uint32_t* major, uint32_t* minor);

}  // namespace brannock
