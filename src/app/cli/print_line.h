// One line of a command's output, in UTF-8.
#pragma once

#include <cstdio>
#include <string>

#include "common/text.h"

namespace brannock::cli {

inline void PrintLine(const Text& line, std::FILE* out) {
  const std::string utf8 = Utf16ToUtf8(line) + "\n";
  std::fwrite(utf8.data(), 1, utf8.size(), out);
}

}  // namespace brannock::cli
