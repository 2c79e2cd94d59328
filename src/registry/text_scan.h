// Line and token scanning shared by the text registry readers (.reg exports
// and Wine registry files). Templated on the code unit: the readers scan
// UTF-16 text and 8-bit text in place, without converting the whole file.
// Every read checks the end of its line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/ascii.h"
#include "common/text.h"
#include "registry/registry_backend.h"

namespace brannock::registry::scan {

// How 8-bit text turns into UTF-16 (UTF-16 text is taken as it is).
enum class Encoding { Utf16, Utf8, Windows1252 };

// Appends raw text of the file's encoding to `out`.
void AppendText(Text& out, std::u16string_view raw, Encoding);
void AppendText(Text& out, std::string_view raw, Encoding encoding);

// True when every byte sequence of `s` is valid UTF-8.
bool IsValidUtf8(std::string_view s);

// A short, printable quote of input for error messages (at most 40
// characters, UTF-8).
template <typename Ch>
std::string Quote(std::basic_string_view<Ch> s) {
  Text t;
  const size_t n = s.size() < 40 ? s.size() : 40;
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<char16_t>(static_cast<std::make_unsigned_t<Ch>>(s[i]));
    t.push_back(c < 0x20 ? u'?' : c);
  }
  return "\"" + Utf16ToUtf8(t) + (s.size() > n ? "...\"" : "\"");
}

template <typename Ch>
inline bool IsBlankChar(Ch c) {
  return c == ' ' || c == '\t';
}

template <typename Ch>
inline std::basic_string_view<Ch> TrimLeadingBlanks(std::basic_string_view<Ch> s) {
  size_t b = 0;
  while (b < s.size() && IsBlankChar(s[b])) ++b;
  return s.substr(b);
}

template <typename Ch>
inline std::basic_string_view<Ch> TrimBlanks(std::basic_string_view<Ch> s) {
  size_t b = 0;
  while (b < s.size() && IsBlankChar(s[b])) ++b;
  size_t e = s.size();
  while (e > b && IsBlankChar(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Case-insensitive (a to z) comparison with an ASCII literal. Files mostly
// spell keywords and root names as regedit writes them: compared as they
// are until they differ, folded from there.
template <typename Ch>
bool StartsWithNoCase(std::basic_string_view<Ch> s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  size_t i = 0;
  while (i < prefix.size() && s[i] == static_cast<Ch>(prefix[i])) ++i;
  for (; i < prefix.size(); ++i)
    if (UpperAscii(s[i]) != static_cast<Ch>(UpperAscii(prefix[i]))) return false;
  return true;
}

template <typename Ch>
bool EqualsNoCaseAscii(std::basic_string_view<Ch> s, std::string_view literal) {
  return s.size() == literal.size() && StartsWithNoCase(s, literal);
}

// Where the next line end is in `text`, from `from` on; npos when none.
size_t FindLineEnd(std::string_view text, size_t from);
size_t FindLineEnd(std::u16string_view text, size_t from);

// The lines of a text held whole: LF or CRLF ends a line; the line number
// counts from 1, or on from `firstLine` for a reader that starts within a
// file.
template <typename Ch>
class LineReader {
 public:
  using View = std::basic_string_view<Ch>;

  explicit LineReader(View text, size_t firstLine = 0) : data_(text), lineNo_(firstLine) {}

  bool Next(View& line) {
    if (pos_ >= data_.size()) return false;
    const size_t nl = FindLineEnd(data_, pos_);
    if (nl != View::npos) {
      line = data_.substr(pos_, nl - pos_);
      pos_ = nl + 1;
    } else {
      line = data_.substr(pos_);
      pos_ = data_.size();
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNo_;
    return true;
  }

  size_t LineNumber() const { return lineNo_; }
  // Where the next line starts.
  size_t Position() const { return pos_; }

 private:
  View data_;
  size_t pos_ = 0;
  size_t lineNo_ = 0;
};

// Reads the comma-separated hex bytes after "hex:" or "hex(N):", following
// continuation lines (a line ending in a backslash goes on in the next one).
// `rest` is the text after the colon. Returns an empty string on success,
// else the error text.
template <typename Ch>
std::string ReadHexBytes(std::basic_string_view<Ch> rest, LineReader<Ch>& lines, Bytes& out) {
  out.reserve(out.size() + rest.size() / 3 + 1);
  for (;;) {
    std::basic_string_view<Ch> s = TrimBlanks(rest);
    bool continues = false;
    if (!s.empty() && s.back() == '\\') {
      continues = true;
      s.remove_suffix(1);
    }
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
      // The common form, two digits and a comma with more to come, first.
      for (int hi, lo; i + 3 < n && s[i + 2] == ',' && (hi = HexDigitValue(s[i])) >= 0 &&
                       (lo = HexDigitValue(s[i + 1])) >= 0;
           i += 3)
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
      while (i < n && IsBlankChar(s[i])) ++i;
      if (i == n) break;
      size_t start = i;
      while (i < n && s[i] != ',' && !IsBlankChar(s[i])) ++i;
      const auto token = s.substr(start, i - start);
      if (token.empty() || token.size() > 2) {
        if (token.empty()) return "invalid hex byte \"\"";
        return "invalid hex byte " + Quote(token);
      }
      const int hi = token.size() == 2 ? HexDigitValue(token[0]) : 0;
      const int lo = HexDigitValue(token.back());
      if (hi < 0 || lo < 0) return "invalid hex byte " + Quote(token);
      out.push_back(static_cast<uint8_t>(hi * 16 + lo));
      while (i < n && IsBlankChar(s[i])) ++i;
      if (i < n) {
        if (s[i] != ',') return "invalid hex byte " + Quote(s.substr(start));
        ++i;
        // A comma must be followed by a byte, except at the end of a line
        // that continues.
        size_t j = i;
        while (j < n && IsBlankChar(s[j])) ++j;
        if (j == n && !continues) return "missing hex byte after \",\"";
      }
    }
    if (!continues) return {};
    if (!lines.Next(rest)) return "hex data ends after a continuation \"\\\"";
  }
}

// Reads up to eight hex digits of "dword:"; the whole of `digits` must be the
// number (blanks at the ends aside).
template <typename Ch>
bool ReadDword(std::basic_string_view<Ch> digits, uint32_t& value) {
  return ParseHex32<Ch>(TrimBlanks(digits), &value);
}

inline Bytes DwordBytes(uint32_t v) {
  return Bytes{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
               static_cast<uint8_t>(v >> 24)};
}

// REG_SZ style data: the UTF-16LE code units and a terminating NUL.
inline Bytes StringData(TextView s) {
  Bytes b(s.size() * 2 + 2);
  for (size_t i = 0; i < s.size(); ++i) {
    b[2 * i] = static_cast<uint8_t>(s[i] & 0xFF);
    b[2 * i + 1] = static_cast<uint8_t>(s[i] >> 8);
  }
  return b;
}

}  // namespace brannock::registry::scan
