#include "common/typelib_version.h"

#include "common/ascii.h"

namespace brannock {

bool ParseTypeLibVersion(TextView s, uint32_t* major, uint32_t* minor) {
  *major = 0;
  *minor = 0;
  const size_t dot = s.find(u'.');
  if (dot == TextView::npos) return false;
  return ParseHex32(s.substr(0, dot), major) && ParseHex32(s.substr(dot + 1), minor);
}

}  // namespace brannock
