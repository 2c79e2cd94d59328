// Fuzzes the PE resource reader: the TYPELIB resource (parsed and walked
// when found), the resource lists and icon extraction.
#include <cstddef>
#include <cstdint>

#include "typelib/file_loader.h"
#include "typelib/pe_resources.h"
#include "support/typelib_walk.h"

using namespace brannock::typelib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteSpan bytes(data, size);
  std::vector<ResourceId> names;
  ListPeResources(bytes, kRtGroupIcon, &names);
  ListPeResources(bytes, brannock::Text(u"TYPELIB"), &names);
  ExtractIconFile(bytes, 0);
  ExtractIconFile(bytes, -1);
  std::shared_ptr<TypeLib> lib;
  if (Succeeded(OpenTypeLibBytes(bytes, 1, nullptr, &lib))) WalkTypeLib(*lib);
  return 0;
}
