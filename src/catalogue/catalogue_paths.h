// Key paths below HKEY_CLASSES_ROOT used by the catalogue.
#pragma once

#include "common/text.h"

namespace brannock {

// The components joined by single backslashes: KeyPath(u"CLSID", G) is
// "CLSID\G".
inline Text KeyPath(TextView a, TextView b) {
  Text s;
  s.reserve(a.size() + b.size() + 1);
  s.append(a).append(1, u'\\').append(b);
  return s;
}

template <typename... More>
Text KeyPath(TextView a, TextView b, More... more) {
  return KeyPath(KeyPath(a, b), more...);
}

}  // namespace brannock
