#include <windows.h>

#include "platform/messages.h"
#include "platform/win32/wide_text.h"

namespace brannock::platform {

Text SystemMessageText(uint32_t code) {
  // The whole message is fetched and then cut, so a message longer than the
  // shown part still gives its first 256 characters.
  wchar_t* message = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  if (message == nullptr) return Text();
  Text text = TrimMessageText(FromWide(message, length));
  LocalFree(message);
  return text;
}

}  // namespace brannock::platform
