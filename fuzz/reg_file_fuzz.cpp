// libFuzzer target: the .reg export reader on arbitrary bytes, then the
// writer and reader again on whatever was parsed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "registry/memory_store.h"
#include "registry/reg_file_parser.h"
#include "registry/reg_file_writer.h"
#include "registry/registry_parse_error.h"

using namespace brannock::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStore store;
  try {
    ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size), u"fuzz.reg", store);
  } catch (const RegistryParseError&) {
    return 0;
  }
  // What was read writes back and reads again without error.
  const std::string written = RegFileBytes(store, RootKey::ClassesRoot, u"");
  MemoryStore again;
  ParseRegFile(written, u"again.reg", again);
  // The keys built from the index are those the file gives line by line: a
  // deletion of a key that is not there makes the reader apply it so.
  if (std::string_view(reinterpret_cast<const char*>(data), size).substr(0, 2) != "\xFE\xFF") {
    std::string applied(reinterpret_cast<const char*>(data), size);
    // UTF-16LE as the reader takes it: with its mark, or by its first two units.
    const bool wide = applied.substr(0, 2) == "\xFF\xFE" ||
                      (applied.size() >= 4 && applied[0] != 0 && applied[1] == 0 && applied[2] != 0 && applied[3] == 0);
    for (char c : std::string_view("\n[-HKEY_CLASSES_ROOT\\Brannock-Missing]\n")) {
      applied.push_back(c);
      if (wide) applied.push_back('\0');
    }
    MemoryStore inOrder;
    ParseRegFile(applied, u"applied.reg", inOrder);
    if (RegFileBytes(inOrder, RootKey::ClassesRoot, u"") != written) std::abort();
  }
  return 0;
}
