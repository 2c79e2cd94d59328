// Windows-1252 with the best-fit substitutes that Windows applies when it
// converts to that code page without flags; "?" for everything else.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/codepage.h"

namespace brannock::platform {

namespace {

struct Mapping {
  char16_t from;
  uint8_t to;
};

// Every character that has a byte of its own in the range 0x80 to 0x9F,
// including the five codes that the code page leaves undefined and Windows
// maps to the C1 control of the same number.
constexpr Mapping kHighControls[] = {
    {0x0081, 0x81}, {0x008D, 0x8D}, {0x008F, 0x8F}, {0x0090, 0x90}, {0x009D, 0x9D},
    {0x0152, 0x8C}, {0x0153, 0x9C}, {0x0160, 0x8A}, {0x0161, 0x9A}, {0x0178, 0x9F},
    {0x017D, 0x8E}, {0x017E, 0x9E}, {0x0192, 0x83}, {0x02C6, 0x88}, {0x02DC, 0x98},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201A, 0x82},
    {0x201C, 0x93}, {0x201D, 0x94}, {0x201E, 0x84}, {0x2020, 0x86}, {0x2021, 0x87},
    {0x2022, 0x95}, {0x2026, 0x85}, {0x2030, 0x89}, {0x2039, 0x8B}, {0x203A, 0x9B},
    {0x20AC, 0x80}, {0x2122, 0x99},
};

// Best-fit substitutes: letters with diacritics to their base letter, and a
// few look-alike symbols.
constexpr Mapping kBestFit[] = {
    {0x0100, 'A'}, {0x0101, 'a'}, {0x0102, 'A'}, {0x0103, 'a'}, {0x0104, 'A'}, {0x0105, 'a'},
    {0x0106, 'C'}, {0x0107, 'c'}, {0x0108, 'C'}, {0x0109, 'c'}, {0x010A, 'C'}, {0x010B, 'c'},
    {0x010C, 'C'}, {0x010D, 'c'}, {0x010E, 'D'}, {0x010F, 'd'}, {0x0110, 0xD0}, {0x0111, 'd'},
    {0x0112, 'E'}, {0x0113, 'e'}, {0x0114, 'E'}, {0x0115, 'e'}, {0x0116, 'E'}, {0x0117, 'e'},
    {0x0118, 'E'}, {0x0119, 'e'}, {0x011A, 'E'}, {0x011B, 'e'}, {0x011C, 'G'}, {0x011D, 'g'},
    {0x011E, 'G'}, {0x011F, 'g'}, {0x0120, 'G'}, {0x0121, 'g'}, {0x0122, 'G'}, {0x0123, 'g'},
    {0x0124, 'H'}, {0x0125, 'h'}, {0x0126, 'H'}, {0x0127, 'h'}, {0x0128, 'I'}, {0x0129, 'i'},
    {0x012A, 'I'}, {0x012B, 'i'}, {0x012C, 'I'}, {0x012D, 'i'}, {0x012E, 'I'}, {0x012F, 'i'},
    {0x0130, 'I'}, {0x0131, 'i'}, {0x0134, 'J'}, {0x0135, 'j'}, {0x0136, 'K'}, {0x0137, 'k'},
    {0x0139, 'L'}, {0x013A, 'l'}, {0x013B, 'L'}, {0x013C, 'l'}, {0x013D, 'L'}, {0x013E, 'l'},
    {0x0141, 'L'}, {0x0142, 'l'}, {0x0143, 'N'}, {0x0144, 'n'}, {0x0145, 'N'}, {0x0146, 'n'},
    {0x0147, 'N'}, {0x0148, 'n'}, {0x014C, 'O'}, {0x014D, 'o'}, {0x014E, 'O'}, {0x014F, 'o'},
    {0x0150, 'O'}, {0x0151, 'o'}, {0x0154, 'R'}, {0x0155, 'r'}, {0x0156, 'R'}, {0x0157, 'r'},
    {0x0158, 'R'}, {0x0159, 'r'}, {0x015A, 'S'}, {0x015B, 's'}, {0x015C, 'S'}, {0x015D, 's'},
    {0x015E, 'S'}, {0x015F, 's'}, {0x0162, 'T'}, {0x0163, 't'}, {0x0164, 'T'}, {0x0165, 't'},
    {0x0166, 'T'}, {0x0167, 't'}, {0x0168, 'U'}, {0x0169, 'u'}, {0x016A, 'U'}, {0x016B, 'u'},
    {0x016C, 'U'}, {0x016D, 'u'}, {0x016E, 'U'}, {0x016F, 'u'}, {0x0170, 'U'}, {0x0171, 'u'},
    {0x0172, 'U'}, {0x0173, 'u'}, {0x0174, 'W'}, {0x0175, 'w'}, {0x0176, 'Y'}, {0x0177, 'y'},
    {0x0179, 'Z'}, {0x017A, 'z'}, {0x017B, 'Z'}, {0x017C, 'z'},
    {0x01CD, 'A'}, {0x01CE, 'a'}, {0x01CF, 'I'}, {0x01D0, 'i'}, {0x01D1, 'O'}, {0x01D2, 'o'},
    {0x01D3, 'U'}, {0x01D4, 'u'}, {0x01D5, 'U'}, {0x01D6, 'u'}, {0x01D7, 'U'}, {0x01D8, 'u'},
    {0x01D9, 'U'}, {0x01DA, 'u'}, {0x01DB, 'U'}, {0x01DC, 'u'},
    {0x02B9, '\''}, {0x02BA, '"'}, {0x02BC, '\''}, {0x02C4, '^'}, {0x02C8, '\''}, {0x02CB, '`'},
    {0x02CD, '_'},
    {0x2000, ' '}, {0x2001, ' '}, {0x2002, ' '}, {0x2003, ' '}, {0x2004, ' '}, {0x2005, ' '},
    {0x2006, ' '}, {0x2010, '-'}, {0x2011, '-'}, {0x2017, '='}, {0x2032, '\''}, {0x2035, '`'},
    {0x2044, '/'},
    {0x2212, '-'}, {0x2215, '/'}, {0x2216, '\\'}, {0x2217, '*'}, {0x221E, '8'}, {0x2223, '|'},
    {0x2236, ':'}, {0x223C, '~'}, {0x2248, 0x98}, {0x2260, '='}, {0x2261, '='}, {0x2264, '='},
    {0x2265, '='},
    {0x3000, ' '},
};

constexpr char kDefaultChar = '?';

constexpr bool IsSorted(const Mapping* first, const Mapping* last) {
  for (const Mapping* m = first; m + 1 < last; ++m)
    if (m->from >= (m + 1)->from) return false;
  return true;
}
static_assert(IsSorted(std::begin(kHighControls), std::end(kHighControls)));
static_assert(IsSorted(std::begin(kBestFit), std::end(kBestFit)));

template <size_t N>
int LookUp(const Mapping (&table)[N], char16_t c) {
  const Mapping* it = std::lower_bound(std::begin(table), std::end(table), c,
                                       [](const Mapping& m, char16_t v) { return m.from < v; });
  return it != std::end(table) && it->from == c ? it->to : -1;
}

char ToByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  // Full-width forms of the ASCII characters.
  if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char>(c - 0xFF01 + 0x21);
  int b = LookUp(kHighControls, c);
  if (b < 0) b = LookUp(kBestFit, c);
  return b < 0 ? kDefaultChar : static_cast<char>(b);
}

}  // namespace

std::string ToAnsiCodePage(TextView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;  // a character outside the basic plane: one default character
      out.push_back(kDefaultChar);
      continue;
    }
    out.push_back(ToByte(c));
  }
  return out;
}

}  // namespace brannock::platform
