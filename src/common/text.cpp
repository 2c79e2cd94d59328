#include "common/text.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brannock {

Text Utf8ToUtf16(std::string_view s) {
  Text out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    uint32_t cp = 0;
    size_t len = 0;
    if ((b0 & 0xE0) == 0xC0) { cp = b0 & 0x1F; len = 2; }
    else if ((b0 & 0xF0) == 0xE0) { cp = b0 & 0x0F; len = 3; }
    else if ((b0 & 0xF8) == 0xF0) { cp = b0 & 0x07; len = 4; }
    bool ok = len != 0 && i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (b & 0x3F);
    }
    if (ok) {
      // Reject overlong forms, surrogates and out-of-range values.
      if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
          cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        ok = false;
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

size_t NarrowAscii(TextView text, char* out) {
  const char16_t* s = text.data();
  const size_t n = text.size();
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  for (; i + 8 <= n; i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, high), _mm_setzero_si128())) != 0xFFFF) break;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(units, units));
  }
#endif
  for (; i < n && s[i] < 0x80; ++i) out[i] = static_cast<char>(s[i]);
  return i;
}

void AppendUtf8(TextView s, std::string* out) {
  // Converted in pieces through a buffer on the stack, appended whole: the
  // string grows by what is written, never zero-filled first.
  constexpr size_t kPiece = 256;
  char buffer[kPiece * 3 + 8];
  size_t i = 0;
  while (i < s.size()) {
    const size_t end = std::min(s.size(), i + kPiece);
    size_t used = 0;
    while (i < end) {
      // Runs of ASCII, the bulk of every text here, go in one step.
      const size_t ascii = NarrowAscii(s.substr(i, end - i), buffer + used);
      used += ascii;
      i += ascii;
      if (i == end) break;
      uint32_t cp = s[i];
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        ++i;
      } else if (cp >= 0xD800 && cp <= 0xDFFF) {
        cp = 0xFFFD;
      }
      ++i;
      char* d = buffer + used;
      if (cp < 0x800) {
        d[0] = static_cast<char>(0xC0 | (cp >> 6));
        d[1] = static_cast<char>(0x80 | (cp & 0x3F));
        used += 2;
      } else if (cp < 0x10000) {
        d[0] = static_cast<char>(0xE0 | (cp >> 12));
        d[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        d[2] = static_cast<char>(0x80 | (cp & 0x3F));
        used += 3;
      } else {
        d[0] = static_cast<char>(0xF0 | (cp >> 18));
        d[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        d[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        d[3] = static_cast<char>(0x80 | (cp & 0x3F));
        used += 4;
      }
    }
    out->append(buffer, used);
  }
}

std::string Utf16ToUtf8(TextView s) {
  std::string out;
  out.reserve(s.size());
  AppendUtf8(s, &out);
  return out;
}


Text UpperAscii(TextView s) {
  Text out(s);
  for (auto& c : out) c = UpperAscii(c);
  return out;
}

Text LowerAscii(TextView s) {
  Text out(s);
  for (auto& c : out) c = LowerAscii(c);
  return out;
}

int CompareNoCase(TextView a, TextView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = UpperAscii(a[i]);
    const char16_t y = UpperAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(TextView a, TextView b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }

bool Contains(TextView haystack, TextView needle) { return haystack.find(needle) != TextView::npos; }

Text TrimControls(TextView s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && s[b] <= 0x20) ++b;
  while (e > b && s[e - 1] <= 0x20) --e;
  return Text(s.substr(b, e - b));
}

void AppendUInt(uint64_t v, Text* out) {
  // Two digits a step.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char16_t buf[24];
  size_t i = sizeof(buf) / sizeof(buf[0]);
  while (v >= 100) {
    const size_t pair = static_cast<size_t>(v % 100) * 2;
    v /= 100;
    buf[--i] = static_cast<char16_t>(kPairs[pair + 1]);
    buf[--i] = static_cast<char16_t>(kPairs[pair]);
  }
  if (v >= 10) {
    buf[--i] = static_cast<char16_t>(kPairs[v * 2 + 1]);
    buf[--i] = static_cast<char16_t>(kPairs[v * 2]);
  } else {
    buf[--i] = static_cast<char16_t>(u'0' + v);
  }
  out->append(buf + i, sizeof(buf) / sizeof(buf[0]) - i);
}

void AppendInt(int64_t v, Text* out) {
  if (v < 0) {
    out->push_back(u'-');
    AppendUInt(0 - static_cast<uint64_t>(v), out);
  } else {
    AppendUInt(static_cast<uint64_t>(v), out);
  }
}

Text UIntToText(uint64_t v) {
  Text text;
  AppendUInt(v, &text);
  return text;
}

Text IntToText(int64_t v) {
  Text text;
  AppendInt(v, &text);
  return text;
}

Text HexUpper(uint64_t v) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  char16_t buf[16];
  size_t i = 16;
  do {
    buf[--i] = kDigits[v & 0xF];
    v >>= 4;
  } while (v != 0);
  return Text(buf + i, buf + 16);
}

Text CleanText(TextView s) {
  const size_t p = s.find(u'\0');
  return Text(p == TextView::npos ? s : s.substr(0, p));
}

TextList Split(TextView s, char16_t sep) {
  TextList parts;
  size_t start = 0;
  for (;;) {
    const size_t p = s.find(sep, start);
    if (p == TextView::npos) {
      parts.emplace_back(s.substr(start));
      return parts;
    }
    parts.emplace_back(s.substr(start, p - start));
    start = p + 1;
  }
}

}  // namespace brannock
