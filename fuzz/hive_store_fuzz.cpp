// libFuzzer target: the hive reader (hivex underneath) on arbitrary bytes.
// hivex reads files, so each input goes through a temporary file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "registry/hive_store.h"
#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"

using namespace brannock::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/brannock-hive-fuzz-" + std::to_string(::getpid()) + ".hiv";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, f) == size;
  std::fclose(f);
  if (!written) return 0;
  MemoryStore store;
  try {
    LoadHive(path, store);
  } catch (const RegistryParseError&) {
  }
  return 0;
}
