#include "common/unit_search.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brannock {

namespace {

// Eight code units at a time where the processor compares them at once (all
// x86-64 processors do), then one by one.
template <typename Match>
size_t Search(std::u16string_view text, size_t from, [[maybe_unused]] char16_t a, [[maybe_unused]] char16_t b,
              Match match) {
  const char16_t* p = text.data();
  size_t i = from;
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi16(static_cast<short>(a));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
  auto hits = [&](size_t at) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(units, va), _mm_cmpeq_epi16(units, vb));
    return static_cast<unsigned>(_mm_movemask_epi8(hit));
  };
  // Sixteen units a turn while they last (a line of a registry file is
  // a few dozen), then eight.
  for (; i + 16 <= text.size(); i += 16) {
    if (const uint32_t mask = hits(i) | (hits(i + 8) << 16); mask != 0)
      return i + static_cast<size_t>(std::countr_zero(mask)) / 2;
  }
  for (; i + 8 <= text.size(); i += 8) {
    if (const unsigned mask = hits(i); mask != 0) return i + static_cast<size_t>(std::countr_zero(mask)) / 2;
  }
  // The rest as the last eight units of the text, those before `i` masked.
  if (i < text.size() && text.size() >= 8) {
    const size_t last = text.size() - 8;
    const unsigned mask = hits(last) >> (2 * (i - last));
    return mask != 0 ? i + static_cast<size_t>(std::countr_zero(mask)) / 2 : std::u16string_view::npos;
  }
#endif
  for (; i < text.size(); ++i)
    if (match(p[i])) return i;
  return std::u16string_view::npos;
}

}  // namespace

size_t FindUnit(std::u16string_view text, size_t from, char16_t a) {
  return Search(text, from, a, a, [a](char16_t c) { return c == a; });
}

size_t FindEitherUnit(std::u16string_view text, size_t from, char16_t a, char16_t b) {
  return Search(text, from, a, b, [a, b](char16_t c) { return c == a || c == b; });
}

size_t FindEitherUnit(std::string_view text, size_t from, char a, char b) {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  const __m128i vb = _mm_set1_epi8(b);
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(units, va), _mm_cmpeq_epi8(units, vb));
    if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)); mask != 0)
      return i + static_cast<size_t>(std::countr_zero(mask));
  }
#endif
  for (; i < text.size(); ++i)
    if (text[i] == a || text[i] == b) return i;
  return std::string_view::npos;
}

}  // namespace brannock
