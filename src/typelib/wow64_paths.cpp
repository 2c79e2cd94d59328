#include "typelib/wow64_paths.h"

namespace brannock::typelib {

namespace {

char16_t Folded(char16_t c) { return c == u'/' ? u'\\' : UpperAscii(c); }

}  // namespace

Text RedirectToWow64Dir(TextView path, TextView systemDir, TextView wow64Dir) {
  constexpr TextView kLongPrefix = u"\\\\?\\";
  const size_t start = path.substr(0, kLongPrefix.size()) == kLongPrefix ? kLongPrefix.size() : 0;
  const TextView rest = path.substr(start);
  if (rest.size() < systemDir.size()) return Text(path);
  for (size_t i = 0; i < systemDir.size(); ++i)
    if (Folded(rest[i]) != Folded(systemDir[i])) return Text(path);
  if (rest.size() > systemDir.size() && Folded(rest[systemDir.size()]) != u'\\') return Text(path);
  return Text(path.substr(0, start)) + Text(wow64Dir) + Text(rest.substr(systemDir.size()));
}

}  // namespace brannock::typelib
