// The system's ANSI code page, the encoding of list files.
#pragma once

#include <string>

#include "common/text.h"

namespace brannock::platform {

// Converts UTF-16 text to the ANSI code page as the platform's default
// conversion does (WideCharToMultiByte without flags): best-fit characters
// where the code page defines them, otherwise the code page's default
// character, one byte per UTF-16 code unit (so a character outside the
// basic plane gives two default characters). On POSIX the code page is
// Windows-1252 with "?" as default character.
std::string ToAnsiCodePage(TextView text);

}  // namespace brannock::platform
