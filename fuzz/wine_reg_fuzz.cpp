// libFuzzer target: the Wine registry file reader on arbitrary bytes, the
// composition of HKEY_CLASSES_ROOT from what was read, and its 32-bit view.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "registry/classes_root.h"
#include "registry/input_limits.h"
#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"
#include "registry/wine_reg_parser.h"

using namespace brannock::registry;

namespace {

// Every key and value of a root, built from the file's index as they are
// reached, as a walk of the whole registry reaches them.
void WalkAll(const MemoryStore::Node& root) {
  std::vector<const MemoryStore::Node*> work{&root};
  while (!work.empty()) {
    const MemoryStore::Node* node = work.back();
    work.pop_back();
    for (const auto& value : node->Values())
      if (value.data.size() > kMaxValueBytes) std::abort();
    for (const auto& [name, child] : node->Children()) work.push_back(child.get());
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
  MemoryStore store;
  try {
    ParseWineRegistry(text, u"system.reg", WineHive::Machine, store);
  } catch (const RegistryParseError&) {
  }
  BuildClassesRoot(store);
  CheckView32(store);
  for (RootKey root : {RootKey::ClassesRoot, RootKey::LocalMachine, RootKey::CurrentUser}) WalkAll(store.Root(root));
  return 0;
}
