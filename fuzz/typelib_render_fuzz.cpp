// Fuzzes the two renderers (the Object Pascal unit and IDL) over whatever
// the MSFT reader makes of the input: damaged descriptors, references and
// member records must give text lines, never a crash.
#include <cstddef>
#include <cstdint>

#include "typelib/idl_text.h"
#include "typelib/msft_reader.h"
#include "typelib/unit_text.h"

using namespace brannock;
using namespace brannock::typelib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::shared_ptr<TypeLib> lib;
  if (Failed(OpenMsftTypeLib(ByteSpan(data, size), nullptr, &lib))) return 0;
  UnitHeader header;
  TextList lines;
  TypeLibToStrings(header, *lib, &lines);
  lines.clear();
  TypeLibToIdl(header, *lib, &lines);
  return 0;
}
