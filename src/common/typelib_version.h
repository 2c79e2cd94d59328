// The version of a registered type library as the registry holds it.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock {

// Reads "major.minor" with both numbers in hexadecimal, as the platform's
// type library registration writes the version keys below TypeLib\{GUID}
// and the Version value of an interface's TypeLib key: "1.a" is 1.10 and
// "2.10" is 2.16. Each number is one to eight hexadecimal digits with
// nothing around them. Returns true when both numbers read; otherwise the
// numbers not read are 0 (major is kept when only the minor fails).
bool ParseTypeLibVersion(TextView s, uint32_t* major, uint32_t* minor);

}  // namespace brannock
