#include "platform/environment.h"

extern char** environ;

namespace brannock::platform {

TextList EnvironmentBlock() {
  TextList entries;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) entries.push_back(Utf8ToUtf16(*e));
  return entries;
}

}  // namespace brannock::platform
