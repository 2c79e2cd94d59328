// libFuzzer target: the .reg export reader on arbitrary bytes, then the
// writer and reader again on whatever was parsed.
#include <cstddef>
#include <cstdint>
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
  MemoryStore again;
  ParseRegFile(RegFileBytes(store, RootKey::ClassesRoot, u""), u"again.reg", again);
  return 0;
}
