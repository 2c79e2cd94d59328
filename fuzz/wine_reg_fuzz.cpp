// libFuzzer target: the Wine registry file reader on arbitrary bytes, the
// composition of HKEY_CLASSES_ROOT from what was read, and its 32-bit view.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "registry/classes_root.h"
#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"
#include "registry/text_scan.h"
#include "registry/wine_reg_parser.h"

using namespace brannock::registry;

namespace {

// Files are read piece by piece: the lines must be those of the whole text,
// wherever the pieces end.
void CheckPiecewiseLines(std::string_view text) {
  const size_t piece = text.empty() ? 1 : 1 + static_cast<uint8_t>(text[0]) % 16;
  scan::LineReader<char> whole(text);
  size_t at = 0;
  scan::LineReader<char> pieces([&](std::string& buffer) {
    if (at >= text.size()) return false;
    const size_t n = std::min(piece, text.size() - at);
    buffer.append(text.substr(at, n));
    at += n;
    return true;
  });
  std::string_view a;
  std::string_view b;
  for (;;) {
    const bool more = whole.Next(a);
    if (more != pieces.Next(b)) std::abort();
    if (!more) break;
    if (a != b || whole.LineNumber() != pieces.LineNumber()) std::abort();
  }
}

// The 32-bit view's root lists each key once, in enumeration order, and
// every key it lists opens in that view.
void CheckView32(MemoryStore& store) {
  constexpr uint32_t kView32 = Access::KeyRead | Access::Wow64_32Key;
  auto root = store.Open(RootKey::ClassesRoot, u"", kView32);
  if (!root) std::abort();
  const brannock::TextList names = root->SubkeyNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0 && !KeyNameLess()(names[i - 1], names[i])) std::abort();
    if (!store.Open(RootKey::ClassesRoot, names[i], kView32)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckPiecewiseLines(text);
  MemoryStore store;
  try {
    ParseWineRegistry(text, u"system.reg", WineHive::Machine, store);
  } catch (const RegistryParseError&) {
  }
  BuildClassesRoot(store);
  CheckView32(store);
  return 0;
}
