#include "registry/text_scan.h"

#include <cstdint>
#include <cstring>

#include "common/unit_search.h"
#include "common/windows1252.h"

namespace brannock::registry::scan {

void AppendText(Text& out, std::u16string_view raw, Encoding) { out.append(raw); }

size_t FindLineEnd(std::string_view text, size_t from) { return text.find('\n', from); }

size_t FindLineEnd(std::u16string_view text, size_t from) { return FindUnit(text, from, u'\n'); }

void AppendText(Text& out, std::string_view raw, Encoding encoding) {
  // ASCII widens in one pass over the run, eight bytes a turn while no
  // byte of them has its top bit set.
  const size_t start = out.size();
  out.resize(start + raw.size());
  char16_t* to = out.data() + start;
  size_t i = 0;
  for (; i + 8 <= raw.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, raw.data() + i, sizeof word);
    if ((word & 0x8080808080808080u) != 0) break;
    for (size_t k = 0; k < 8; ++k) to[i + k] = static_cast<uint8_t>(raw[i + k]);
  }
  for (; i < raw.size(); ++i) {
    const auto b = static_cast<uint8_t>(raw[i]);
    if (b >= 0x80) break;
    to[i] = b;
  }
  if (i == raw.size()) return;
  out.resize(start + i);
  const std::string_view rest = raw.substr(i);
  if (encoding == Encoding::Utf8) {
    out += Utf8ToUtf16(rest);
  } else {
    for (char c : rest) out.push_back(Windows1252ToUtf16(static_cast<uint8_t>(c)));
  }
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto b0 = static_cast<uint8_t>(s[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    size_t len = 0;
    uint32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; }
    else return false;
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto b = static_cast<uint8_t>(s[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

}  // namespace brannock::registry::scan
