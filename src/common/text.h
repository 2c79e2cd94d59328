// UTF-16 text helpers. The system's text is UTF-16 (std::u16string); these
// convert at the edges and implement the few character rules the program uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ascii.h"

namespace brannock {

using Text = std::u16string;
using TextView = std::u16string_view;
using TextList = std::vector<Text>;

// UTF-8 <-> UTF-16. Invalid UTF-8 sequences become U+FFFD; unpaired
// surrogates in UTF-16 become U+FFFD in UTF-8.
Text Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(TextView s);
// Utf16ToUtf8 appended to `out`.
void AppendUtf8(TextView s, std::string* out);
// Copies the ASCII code units at the start of `text` to `out`, one byte
// each, eight at a time where the processor can; returns how many there
// were (`out` holds room for text.size() bytes).
size_t NarrowAscii(TextView text, char* out);

// Letters a to z upper-cased (or A to Z lower-cased); every other code unit
// unchanged. This is the registry's and the tree's case rule (one unit at a
// time: common/ascii.h).
Text UpperAscii(TextView s);
Text LowerAscii(TextView s);

// Comparison by UTF-16 code units after upper-casing a to z.
bool EqualsNoCase(TextView a, TextView b);
int CompareNoCase(TextView a, TextView b);

bool Contains(TextView haystack, TextView needle);

// Removes characters with codes up to 0x20 from both ends.
Text TrimControls(TextView s);

// Decimal and hexadecimal number texts.
Text IntToText(int64_t v);
Text UIntToText(uint64_t v);
// The same appended to `out`, without a text of their own.
void AppendInt(int64_t v, Text* out);
void AppendUInt(uint64_t v, Text* out);
// Upper-case hexadecimal digits, no leading zeros ("%x" with upper digits).
Text HexUpper(uint64_t v);

// Cuts a text before its first NUL character ("clean text").
Text CleanText(TextView s);

// Splits at every occurrence of sep; an empty text gives one empty part.
TextList Split(TextView s, char16_t sep);

}  // namespace brannock
