#include "platform/environment.h"
#include "platform/environment_list.h"

extern char** environ;

namespace brannock::platform {

TextList EnvironmentBlock() {
  TextList entries;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) entries.push_back(Utf8ToUtf16(*e));
  return entries;
}

std::optional<Text> ExpandEnvironmentStrings(TextView text, size_t bufferChars) {
  Text out = ExpandWithEntries(text, EnvironmentBlock());
  if (out.size() + 1 > bufferChars) return std::nullopt;
  return out;
}

}  // namespace brannock::platform
