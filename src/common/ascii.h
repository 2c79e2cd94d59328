// ASCII rules that do not depend on the locale, for 8-bit and UTF-16 text:
// the case of the letters a to z, and hexadecimal digits of either case.
#pragma once

#include <concepts>
#include <cstdint>
#include <string_view>

namespace brannock {

// Letters a to z upper-cased (A to Z lower-cased); every other unit as it is.
template <std::integral Ch>
constexpr Ch UpperAscii(Ch c) {
  return c >= 'a' && c <= 'z' ? static_cast<Ch>(c - ('a' - 'A')) : c;
}
template <std::integral Ch>
constexpr Ch LowerAscii(Ch c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Ch>(c + ('a' - 'A')) : c;
}

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for anything else.
template <std::integral Ch>
constexpr int HexDigitValue(Ch c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

// The number that 1 to 8 hexadecimal digits give, all of `digits`; false
// (and `value` untouched) for no digits, more than eight or any other unit.
template <std::integral Ch>
constexpr bool ParseHex32(std::basic_string_view<Ch> digits, uint32_t* value) {
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t v = 0;
  for (Ch c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) return false;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}
constexpr bool ParseHex32(std::string_view digits, uint32_t* value) { return ParseHex32<char>(digits, value); }
constexpr bool ParseHex32(std::u16string_view digits, uint32_t* value) {
  return ParseHex32<char16_t>(digits, value);
}

}  // namespace brannock
