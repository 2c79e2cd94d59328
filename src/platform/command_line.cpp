#include "platform/command_line.h"

namespace brannock::platform {

TextList SplitCommandLine(TextView commandLine) {
  TextList args;
  Text current;
  bool inArgument = false;
  bool quoted = false;
  size_t i = 0;
  while (i < commandLine.size()) {
    const char16_t c = commandLine[i];
    if (!quoted && (c == u' ' || c == u'\t')) {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
      ++i;
      continue;
    }
    inArgument = true;
    if (c == u'\\') {
      size_t slashes = 0;
      while (i < commandLine.size() && commandLine[i] == u'\\') {
        ++slashes;
        ++i;
      }
      if (i < commandLine.size() && commandLine[i] == u'"') {
        current.append(slashes / 2, u'\\');
        if (slashes % 2 == 1) {
          current.push_back(u'"');
          ++i;
        }
      } else {
        current.append(slashes, u'\\');
      }
      continue;
    }
    if (c == u'"') {
      if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == u'"') {
        current.push_back(u'"');
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    current.push_back(c);
    ++i;
  }
  if (inArgument) args.push_back(std::move(current));
  return args;
}

}  // namespace brannock::platform
