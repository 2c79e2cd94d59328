// libFuzzer target: the binary security descriptor reader on arbitrary
// bytes, then the SDDL text and the readable names of what it read.
#include <cstddef>
#include <cstdint>

#include "platform/sddl_text.h"
#include "platform/security_descriptor.h"
#include "platform/sid_text.h"

using namespace brannock::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SecurityDescriptorReading r = ReadSecurityDescriptor(ByteView(data, size));
  if (!r.descriptor) {
    // A fault always says why.
    if (r.fault.reason.empty()) __builtin_trap();
    return 0;
  }
  const brannock::Text sddl = SddlText(*r.descriptor);
  if (r.descriptor->dacl && sddl.find(u"D:") == brannock::Text::npos) __builtin_trap();
  for (const auto* acl : {&r.descriptor->dacl, &r.descriptor->sacl}) {
    if (!*acl || !(*acl)->acl) continue;
    for (const Ace& ace : (*acl)->acl->aces) (void)SidTrustee(ace.sid);
  }
  return 0;
}
