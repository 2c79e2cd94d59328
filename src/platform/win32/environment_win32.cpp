#include "platform/environment.h"

#include <windows.h>

#include <cwchar>

#include "platform/win32/wide_text.h"

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

}  // namespace brannock::platform
