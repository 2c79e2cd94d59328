// Conversions between the system's UTF-16 text and the Windows API's wchar_t
// strings (the same code units; only the type differs).
#pragma once

#include <string>

#include "common/text.h"

namespace brannock::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

// A NUL-terminated copy for the API.
inline std::wstring ToWide(TextView s) { return std::wstring(s.begin(), s.end()); }

inline Text FromWide(const wchar_t* s, size_t length) {
  return Text(reinterpret_cast<const char16_t*>(s), length);
}

inline Text FromWide(const std::wstring& s) { return FromWide(s.data(), s.size()); }

}  // namespace brannock::platform
