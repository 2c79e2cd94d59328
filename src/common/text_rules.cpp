#include "common/text_rules.h"

#include "common/ascii.h"

namespace brannock {

bool IsBlank(TextView s) {
  for (char16_t c : s)
    if (c > 0x20) return false;
  return true;
}

bool TryStrToInt(TextView s, int32_t* value) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) {
    negative = s[i] == u'-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  for (; i < s.size(); ++i) {
    int d;
    if (hex) {
      d = HexDigitValue(s[i]);
    } else {
      d = (s[i] >= u'0' && s[i] <= u'9') ? s[i] - u'0' : -1;
    }
    if (d < 0) return false;
    acc = acc * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (hex ? acc > 0xFFFFFFFFull : acc > 0x80000000ull) return false;
  }
  if (!hex && !negative && acc > 0x7FFFFFFFull) return false;
  uint32_t bits = static_cast<uint32_t>(acc);
  if (negative) bits = 0u - bits;
  *value = static_cast<int32_t>(bits);
  return true;
}

void ParseVersion(TextView s, uint32_t* major, uint32_t* minor) {
  *major = 0;
  *minor = 0;
  const size_t p = s.find(u'.');
  if (p == TextView::npos) return;
  int32_t v = 0;
  if (!TryStrToInt(s.substr(0, p), &v)) return;
  *major = static_cast<uint32_t>(v);
  if (!TryStrToInt(s.substr(p + 1, 255), &v)) return;
  *minor = static_cast<uint32_t>(v);
}

}  // namespace brannock
