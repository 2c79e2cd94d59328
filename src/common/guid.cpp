#include "common/guid.h"

#include "common/ascii.h"
#include "common/error.h"

namespace brannock {

namespace {

void AppendHex(Text& out, uint64_t v, int digits) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; --i) out.push_back(kDigits[(v >> (i * 4)) & 0xF]);
}

bool ReadHex(TextView s, size_t pos, size_t digits, uint32_t* v) { return ParseHex32(s.substr(pos, digits), v); }

}  // namespace

Text GuidToText(const Guid& g) {
  Text out;
  out.reserve(38);
  out.push_back(u'{');
  AppendHex(out, g.Data1, 8);
  out.push_back(u'-');
  AppendHex(out, g.Data2, 4);
  out.push_back(u'-');
  AppendHex(out, g.Data3, 4);
  out.push_back(u'-');
  AppendHex(out, g.Data4[0], 2);
  AppendHex(out, g.Data4[1], 2);
  out.push_back(u'-');
  for (int i = 2; i < 8; ++i) AppendHex(out, g.Data4[static_cast<size_t>(i)], 2);
  out.push_back(u'}');
  return out;
}

bool TryTextToGuid(TextView s, Guid* g) {
  if (s.size() != 38 || s[0] != u'{' || s[37] != u'}' || s[9] != u'-' || s[14] != u'-' || s[19] != u'-' ||
      s[24] != u'-')
    return false;
  uint32_t v = 0;
  Guid r;
  if (!ReadHex(s, 1, 8, &v)) return false;
  r.Data1 = v;
  if (!ReadHex(s, 10, 4, &v)) return false;
  r.Data2 = static_cast<uint16_t>(v);
  if (!ReadHex(s, 15, 4, &v)) return false;
  r.Data3 = static_cast<uint16_t>(v);
  const size_t pos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t i = 0; i < 8; ++i) {
    if (!ReadHex(s, pos[i], 2, &v)) return false;
    r.Data4[i] = static_cast<uint8_t>(v);
  }
  *g = r;
  return true;
}

Guid TextToGuid(TextView s) {
  Guid g;
  if (!TryTextToGuid(s, &g)) throw ConversionError(u"Invalid class string");
  return g;
}

Guid GuidFromBytes(const uint8_t* b) {
  Guid g;
  g.Data1 = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
            static_cast<uint32_t>(b[3]) << 24;
  g.Data2 = static_cast<uint16_t>(b[4] | b[5] << 8);
  g.Data3 = static_cast<uint16_t>(b[6] | b[7] << 8);
  for (size_t i = 0; i < 8; ++i) g.Data4[i] = b[8 + i];
  return g;
}

}  // namespace brannock
