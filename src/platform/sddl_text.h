// The security descriptor definition language (SDDL) text of a decoded
// descriptor, written as the Windows SDK documents it for
// ConvertSecurityDescriptorToStringSecurityDescriptorW with the owner, group,
// DACL, SACL and label: "O:BAG:BAD:(A;;CCDCLCSWRP;;;SY)(A;;CCDC;;;IU)".
//
// Parts in the order O, G, D, S, each only when the descriptor has it; ACL
// flags P, AR, AI; a null ACL as NO_ACCESS_CONTROL; ACE flags and rights
// letters in the order of their bits; a mask that is one of the file or key
// rights combinations by that name (FA, KR, ...), one whose every bit has
// letters by the letters, any other in lower-case hexadecimal ("0x1f0000");
// mandatory label rights as NW, NR, NX; GUIDs in lower case without braces.
#pragma once

#include "common/text.h"
#include "platform/security_descriptor.h"

namespace brannock::platform {

Text SddlText(const SecurityDescriptor& sd);

// One ACE's rights as SDDL writes them (empty for a mask of 0).
Text SddlRights(uint8_t aceType, uint32_t mask);

// The ACE type's SDDL letters ("A", "D", "OA", "ML", ...).
Text SddlAceType(uint8_t aceType);

}  // namespace brannock::platform
