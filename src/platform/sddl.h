// A security descriptor from the registry as text: the SDDL that the
// platform's conversion gives (ConvertSecurityDescriptorToStringSecurityDescriptorW
// on Windows, SddlText elsewhere) and the decoded records for the readable
// lines. The bytes are read by ReadSecurityDescriptor first on every
// platform, so a damaged descriptor never reaches the system's conversion
// and gives the same line everywhere.
#pragma once

#include <optional>

#include "common/text.h"
#include "platform/security_descriptor.h"

namespace brannock::platform {

struct DescriptorText {
  std::optional<SecurityDescriptor> descriptor;  // the records, when they read
  Text sddl;                                     // empty when there is a problem
  Text problem;  // the fault's line, or why the system's conversion failed
};

DescriptorText DescribeSecurityDescriptor(ByteView bytes);

// The platform's conversion of bytes that read without fault; empty with
// `failure` set when the system refuses them.
Text SystemSddl(ByteView bytes, const SecurityDescriptor& read, Text* failure);

}  // namespace brannock::platform
