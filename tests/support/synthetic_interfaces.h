// A registry of `interfaces` interfaces with random-looking names and GUIDs
// (the same ones on every run), each with a proxy-stub class, for the main
// window benchmarks of both front ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "registry/memory_store.h"

namespace brannock::testing {

inline std::unique_ptr<registry::MemoryStore> SyntheticInterfaces(int interfaces) {
  auto store = std::make_unique<registry::MemoryStore>();
  constexpr auto R = registry::RootKey::ClassesRoot;
  uint32_t seed = 12345;
  for (int i = 0; i < interfaces; ++i) {
    seed = seed * 1103515245u + 12345u;
    char guid[64];
    std::snprintf(guid, sizeof guid, "{%08X-0000-0000-C000-%012X}", seed, i);
    char name[64];
    std::snprintf(name, sizeof name, "I%cInterface%06u", 'A' + static_cast<int>(seed % 26), seed % 1000000);
    const Text key = u"Interface\\" + Utf8ToUtf16(guid);
    store->SetString(R, key, u"", Utf8ToUtf16(name));
    store->SetString(R, key + u"\\ProxyStubClsid32", u"", u"{00020424-0000-0000-C000-000000000046}");
    store->SetString(R, key + u"\\NumMethods", u"", u"7");
  }
  store->SetString(R, u"CLSID\\{00020424-0000-0000-C000-000000000046}", u"", u"PSOAInterface");
  store->SetString(R, u"CLSID\\{00020424-0000-0000-C000-000000000046}\\InprocServer32", u"", u"oleaut32.dll");
  return store;
}

}  // namespace brannock::testing
