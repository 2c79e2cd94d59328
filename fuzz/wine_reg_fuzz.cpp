// libFuzzer target: the Wine registry file reader on arbitrary bytes, and the
// composition of HKEY_CLASSES_ROOT from what was read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "registry/classes_root.h"
#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"
#include "registry/wine_reg_parser.h"

using namespace brannock::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStore store;
  try {
    ParseWineRegistry(std::string_view(reinterpret_cast<const char*>(data), size), u"system.reg", WineHive::Machine,
                      store);
  } catch (const RegistryParseError&) {
  }
  BuildClassesRoot(store);
  return 0;
}
