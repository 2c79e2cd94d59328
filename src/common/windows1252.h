// Windows-1252, the code page of list files, of 8-bit .reg files and of the
// names in Western type libraries: Latin-1 apart from the bytes 0x80 to
// 0x9F. The one table of those 32 bytes, read both ways.
#pragma once

#include <cstdint>
#include <span>

#include "common/text.h"

namespace brannock {

// The character of a byte. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the C1 control of the same number,
// as Windows converts them.
char16_t Windows1252ToUtf16(uint8_t b);

// Every byte converted by Windows1252ToUtf16.
Text Windows1252ToText(std::span<const uint8_t> bytes);
// The same appended to `out`.
void AppendWindows1252(std::span<const uint8_t> bytes, Text* out);
// The same written to `out`, which has room for one unit a byte.
void DecodeWindows1252(std::span<const uint8_t> bytes, char16_t* out);

// The byte of a character that has one of its own in the code page (the
// unassigned five included); -1 for every other character.
int Utf16ToWindows1252(char16_t c);

}  // namespace brannock
