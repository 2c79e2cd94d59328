// libFuzzer target: a .reg export read as any registry is (HKEY_CLASSES_ROOT
// composed) and as the snapshot reads it (every key where the file puts
// it). The registry compared with itself, and with its snapshot written and
// read again, must show no difference in either view.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "analysis/registry_comparison.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_error.h"
#include "registry/registry_parse_error.h"
#include "registry/registry_snapshot.h"

using namespace brannock;
using namespace brannock::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemoryStore composed;
  MemoryStore stored;
  stored.SetKeepsStoredLayout(true);
  try {
    ParseRegFile(bytes, u"fuzz.reg", composed);
    ParseRegFile(bytes, u"fuzz.reg", stored);
  } catch (const RegistryParseError&) {
    return 0;
  }
  ToSnapshotLayout(stored);
  MemoryStore back;
  ParseRegFile(RegFileBytes(stored, SnapshotKeys()), u"snapshot.reg", back);
  for (RegistryView view : {RegistryView::Bits64, RegistryView::Bits32}) {
    try {
      if (analysis::CompareInView(composed, composed, view).Differs()) std::abort();
      if (analysis::CompareInView(composed, back, view).Differs()) std::abort();
    } catch (const RegistryError&) {
      // A list builder stopped at a value of the wrong type, as it does in
      // the window; both sides read alike up to there.
    }
  }
  return 0;
}
