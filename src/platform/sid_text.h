// SIDs as text: the standard string form (S-R-I-S...), the two-letter alias
// that SDDL gives a well-known SID, and the English name of a well-known SID
// for the readable lines.
#pragma once

#include "common/text.h"
#include "platform/security_descriptor.h"

namespace brannock::platform {

// "S-1-5-32-544": the identifier authority in decimal below 2^32, else as
// "0x" and twelve hexadecimal digits.
Text SidString(const Sid& sid);

// The SID in an SDDL text: the alias of a well-known SID that is the same
// on every machine ("BA", "SY", "WD", ...), else SidString. SIDs relative to
// a machine or domain (a local Administrator, Domain Admins) keep their
// full form: which machine or domain is the reader's is not known here.
Text SidSddl(const Sid& sid);

// "Administrators", "Everyone", "Domain Admins"; empty for a SID that is not
// well known.
Text SidName(const Sid& sid);

// The trustee as a readable line names it: "Administrators (S-1-5-32-544)",
// or the SID alone.
Text SidTrustee(const Sid& sid);

}  // namespace brannock::platform
