// Line and token scanning shared by the text registry readers (.reg exports
// and Wine registry files). Templated on the code unit: the readers scan
// UTF-16 text and 8-bit text in place, without converting the whole file.
// Every read checks the end of its line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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
inline int HexDigit(Ch c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <typename Ch>
inline std::basic_string_view<Ch> TrimBlanks(std::basic_string_view<Ch> s) {
  size_t b = 0;
  while (b < s.size() && IsBlankChar(s[b])) ++b;
  size_t e = s.size();
  while (e > b && IsBlankChar(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Case-insensitive (a to z) comparison with an ASCII literal.
template <typename Ch>
bool StartsWithNoCase(std::basic_string_view<Ch> s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    Ch c = s[i];
    if (c >= 'a' && c <= 'z') c = static_cast<Ch>(c - 32);
    char p = prefix[i];
    if (p >= 'a' && p <= 'z') p = static_cast<char>(p - 32);
    if (c != static_cast<Ch>(p)) return false;
  }
  return true;
}

template <typename Ch>
bool EqualsNoCaseAscii(std::basic_string_view<Ch> s, std::string_view literal) {
  return s.size() == literal.size() && StartsWithNoCase(s, literal);
}

// The lines of a text: LF or CRLF ends a line; the line number counts from 1.
// The text is either given whole, or read piece by piece through `refill`,
// which appends more code units to the buffer it is given and returns false
// at the end of the input. A line handed out stays valid until the next call
// of Next (a refill may move the buffer).
template <typename Ch>
class LineReader {
 public:
  using View = std::basic_string_view<Ch>;
  using Refill = std::function<bool(std::basic_string<Ch>&)>;

  explicit LineReader(View text) : data_(text) {}
  explicit LineReader(Refill refill) : refill_(std::move(refill)) {}

  bool Next(View& line) {
    for (;;) {
      const size_t nl = data_.find(static_cast<Ch>('\n'), scanned_);
      if (nl != View::npos) {
        line = data_.substr(pos_, nl - pos_);
        pos_ = scanned_ = nl + 1;
        break;
      }
      if (refill_ && !ended_) {
        scanned_ = data_.size() - pos_;
        buffer_.erase(0, pos_);
        pos_ = 0;
        if (!refill_(buffer_)) ended_ = true;
        data_ = buffer_;
        continue;
      }
      if (pos_ >= data_.size()) return false;
      line = data_.substr(pos_);
      pos_ = scanned_ = data_.size();
      break;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNo_;
    return true;
  }

  size_t LineNumber() const { return lineNo_; }

 private:
  View data_;
  std::basic_string<Ch> buffer_;  // the pieces read so far (refill mode)
  Refill refill_;
  bool ended_ = false;
  size_t pos_ = 0;      // start of the next line in data_
  size_t scanned_ = 0;  // data_ before this holds no line end after pos_
  size_t lineNo_ = 0;
};

// Reads the comma-separated hex bytes after "hex:" or "hex(N):", following
// continuation lines (a line ending in a backslash goes on in the next one).
// `rest` is the text after the colon. Returns an empty string on success,
// else the error text.
template <typename Ch>
std::string ReadHexBytes(std::basic_string_view<Ch> rest, LineReader<Ch>& lines, Bytes& out) {
  out.reserve(rest.size() / 3 + 1);
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
      while (i < n && IsBlankChar(s[i])) ++i;
      if (i == n) break;
      size_t start = i;
      while (i < n && s[i] != ',' && !IsBlankChar(s[i])) ++i;
      const auto token = s.substr(start, i - start);
      if (token.empty() || token.size() > 2) {
        if (token.empty()) return "invalid hex byte \"\"";
        return "invalid hex byte " + Quote(token);
      }
      const int hi = token.size() == 2 ? HexDigit(token[0]) : 0;
      const int lo = HexDigit(token.back());
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
  digits = TrimBlanks(digits);
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t v = 0;
  for (Ch c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  value = v;
  return true;
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
