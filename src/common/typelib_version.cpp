#include "common/typelib_version.h"

namespace brannock {

namespace {

bool ReadHex(TextView s, uint32_t* value) {
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (char16_t c : s) {
    uint32_t digit;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
      digit = c - u'A' + 10;
    else
      return false;
    v = v * 16 + digit;
  }
  *value = v;
  return true;
}

}  // namespace

bool ParseTypeLibVersion(TextView s, uint32_t* major, uint32_t* minor) {
  *major = 0;
  *minor = 0;
  const size_t dot = s.find(u'.');
  if (dot == TextView::npos) return false;
  return ReadHex(s.substr(0, dot), major) && ReadHex(s.substr(dot + 1), minor);
}

}  // namespace brannock
