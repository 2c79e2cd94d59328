#include "platform/sddl.h"

namespace brannock::platform {

DescriptorText DescribeSecurityDescriptor(ByteView bytes) {
  DescriptorText out;
  SecurityDescriptorReading reading = ReadSecurityDescriptor(bytes);
  if (!reading.descriptor) {
    out.problem = reading.fault.Line();
    return out;
  }
  out.sddl = SystemSddl(bytes, *reading.descriptor, &out.problem);
  out.descriptor = std::move(reading.descriptor);
  return out;
}

}  // namespace brannock::platform
