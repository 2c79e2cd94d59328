#include <windows.h>
#include <sddl.h>

#include <cstring>
#include <vector>

#include "platform/messages.h"
#include "platform/sddl.h"

namespace brannock::platform {

Text SystemSddl(ByteView bytes, const SecurityDescriptor&, Text* failure) {
  // The system reads the descriptor in place: give it an aligned copy.
  std::vector<uint64_t> aligned((bytes.size() + 7) / 8);
  std::memcpy(aligned.data(), bytes.data(), bytes.size());
  constexpr SECURITY_INFORMATION kParts = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                          DACL_SECURITY_INFORMATION | SACL_SECURITY_INFORMATION |
                                          LABEL_SECURITY_INFORMATION;
  LPWSTR text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(aligned.data(), SDDL_REVISION_1, kParts, &text,
                                                            nullptr)) {
    *failure = u"The system could not convert the security descriptor: " + ErrorCodeText(GetLastError());
    return {};
  }
  Text sddl(reinterpret_cast<const char16_t*>(text));
  LocalFree(text);
  return sddl;
}

}  // namespace brannock::platform
