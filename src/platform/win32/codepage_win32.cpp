#include <windows.h>

#include <climits>

#include "platform/codepage.h"
#include "platform/win32/wide_text.h"

namespace brannock::platform {

namespace {

// The API counts in int; longer texts go through in pieces that never split
// a surrogate pair.
constexpr size_t kPieceChars = 1u << 24;

void AppendConverted(const wchar_t* chars, int count, std::string& out) {
  const int bytes = WideCharToMultiByte(CP_ACP, 0, chars, count, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(bytes));
  WideCharToMultiByte(CP_ACP, 0, chars, count, out.data() + start, bytes, nullptr, nullptr);
}

}  // namespace

std::string ToAnsiCodePage(TextView text) {
  const std::wstring wide = ToWide(text);
  std::string out;
  out.reserve(wide.size());
  for (size_t pos = 0; pos < wide.size();) {
    size_t count = std::min(kPieceChars, wide.size() - pos);
    if (pos + count < wide.size() && IS_HIGH_SURROGATE(wide[pos + count - 1])) --count;
    AppendConverted(wide.data() + pos, static_cast<int>(count), out);
    pos += count;
  }
  return out;
}

}  // namespace brannock::platform
