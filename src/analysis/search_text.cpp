#include "analysis/search_text.h"

namespace brannock::analysis {

namespace {

// Latin Extended-A alternates capital and small letter; in these ranges the
// capital is the even code, outside them (U+0139-U+0148, U+0179-U+017E)
// the odd one.
bool EvenCapitals(char16_t c) { return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177); }
bool OddCapitals(char16_t c) { return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E); }

}  // namespace

char16_t FoldForSearch(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (EvenCapitals(c)) return static_cast<char16_t>(c & ~1u);
  if (OddCapitals(c)) return static_cast<char16_t>(c % 2 == 0 ? c - 1 : c);
  if (c == 0x17F) return u'S';
  if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) return static_cast<char16_t>(c - 0x20);
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 0x25);
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return static_cast<char16_t>(c - 0x3F);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

Text FoldedForSearch(TextView text) {
  Text folded(text);
  for (char16_t& c : folded) c = FoldForSearch(c);
  return folded;
}

}  // namespace brannock::analysis
