#include "platform/messages.h"

namespace brannock::platform {

Text TrimMessageText(TextView message) {
  constexpr size_t kMaxChars = 256;
  Text text(message.substr(0, kMaxChars));
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
  return text;
}

Text ErrorCodeText(uint32_t code) {
  return SystemMessageText(code) + u" (Error code: 0x" + HexUpper(code) + u")";
}

}  // namespace brannock::platform
