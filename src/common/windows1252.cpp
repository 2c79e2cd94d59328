#include "common/windows1252.h"

#include <cstdint>
#include <cstring>

namespace brannock {

namespace {

// The characters of the bytes 0x80 to 0x9F.
constexpr char16_t kHighBytes[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t Windows1252ToUtf16(uint8_t b) { return b >= 0x80 && b <= 0x9F ? kHighBytes[b - 0x80] : b; }

void DecodeWindows1252(std::span<const uint8_t> bytes, char16_t* out) {
  // Eight bytes a turn while none of them is outside ASCII (names and
  // document strings nearly always are in it).
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + i, sizeof word);
    if ((word & 0x8080808080808080u) != 0) break;
    for (size_t k = 0; k < 8; ++k) out[i + k] = bytes[i + k];
  }
  for (; i < bytes.size(); ++i) out[i] = Windows1252ToUtf16(bytes[i]);
}

void AppendWindows1252(std::span<const uint8_t> bytes, Text* out) {
  const size_t at = out->size();
  out->resize(at + bytes.size());
  DecodeWindows1252(bytes, out->data() + at);
}

Text Windows1252ToText(std::span<const uint8_t> bytes) {
  Text t;
  AppendWindows1252(bytes, &t);
  return t;
}

int Utf16ToWindows1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHighBytes[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace brannock
