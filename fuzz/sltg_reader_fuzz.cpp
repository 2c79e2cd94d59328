// Fuzzes the SLTG type library parser: whatever loads is walked through
// every type and member of the access layer.
#include <cstddef>
#include <cstdint>

#include "typelib/msft_reader.h"
#include "support/typelib_walk.h"

using namespace brannock::typelib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::shared_ptr<TypeLib> lib;
  if (OpenSltgTypeLib(ByteSpan(data, size), nullptr, &lib)) WalkTypeLib(*lib);
  return 0;
}
