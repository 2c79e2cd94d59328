// Searches of UTF-16 text for one or two code units, several units at a
// time: the scans of large registry files and of rendered units spend most
// of their time looking for the next line end, quote or backslash.
#pragma once

#include <cstddef>
#include <string_view>

namespace brannock {

// The first place from `from` on that holds `a`; npos when none.
size_t FindUnit(std::u16string_view text, size_t from, char16_t a);
// The first place from `from` on that holds `a` or `b`; npos when none.
size_t FindEitherUnit(std::u16string_view text, size_t from, char16_t a, char16_t b);

// The same for 8-bit text.
inline size_t FindUnit(std::string_view text, size_t from, char a) { return text.find(a, from); }
size_t FindEitherUnit(std::string_view text, size_t from, char a, char b);

}  // namespace brannock
