// Included before <windows.h>, whose ExpandEnvironmentStrings macro would
// otherwise rename the routine declared here.
#include "platform/environment.h"

#include <windows.h>

#include <cwchar>

#include "platform/win32/wide_text.h"

#undef ExpandEnvironmentStrings

namespace brannock::platform {

TextList EnvironmentBlock() {
  TextList entries;
  wchar_t* block = GetEnvironmentStringsW();
  if (block == nullptr) return entries;
  // NUL-terminated entries, ended by an empty one.
  for (const wchar_t* entry = block; *entry != L'\0';) {
    const size_t length = std::wcslen(entry);
    entries.push_back(FromWide(entry, length));
    entry += length + 1;
  }
  FreeEnvironmentStringsW(block);
  return entries;
}

std::optional<Text> ExpandEnvironmentStrings(TextView text, size_t bufferChars) {
  if (bufferChars == 0 || bufferChars > MAXDWORD) return std::nullopt;
  const std::wstring source = ToWide(text);
  std::wstring buffer(bufferChars, L'\0');
  // The result counts the terminating NUL; more than the buffer means it
  // did not fit.
  const DWORD needed = ExpandEnvironmentStringsW(source.c_str(), buffer.data(), static_cast<DWORD>(bufferChars));
  if (needed == 0 || needed > bufferChars) return std::nullopt;
  return FromWide(buffer.data(), needed - 1);
}

}  // namespace brannock::platform
