// The system's ANSI code page, the encoding of list files.
#pragma once

#include <string>

#include "common/text.h"

namespace brannock::platform {

// Converts UTF-16 text to the ANSI code page as the platform's default
// conversion does (WideCharToMultiByte without flags): best-fit characters
// where the code page defines them, otherwise the code page's default
// character. On POSIX the code page is Windows-1252 with "?" as default
// character; a surrogate pair counts as one character.
std::string ToAnsiCodePage(TextView text);

}  // namespace brannock::platform
