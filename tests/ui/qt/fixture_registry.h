// The registry the window tests run on: a few objects of every kind, and a
// store that counts how often each category key is opened (one opening per
// list builder run).
#pragma once

#include <map>

#include "registry/memory_store.h"

namespace brannock::ui::testing {

class CountingStore : public registry::MemoryStore {
 public:
  std::unique_ptr<registry::OpenedKey> Open(registry::RootKey root, TextView path, uint32_t access) override {
    if (root == registry::RootKey::ClassesRoot) ++opens[UpperAscii(path)];
    return MemoryStore::Open(root, path, access);
  }
  int Opens(TextView path) const {
    auto it = opens.find(UpperAscii(path));
    return it == opens.end() ? 0 : it->second;
  }
  std::map<Text, int> opens;
};

inline void FillFixture(registry::MemoryStore& s) {
  using registry::RootKey;
  constexpr RootKey R = RootKey::ClassesRoot;
  s.SetString(R, u"CLSID\\{C1}", u"", u"Alpha Class");
  s.SetString(R, u"CLSID\\{C1}", u"AppID", u"{A1}");
  s.SetBytes(R, u"CLSID\\{C1}", u"Bin", registry::RegType::Binary, {0x41, 0x42});
  s.SetString(R, u"CLSID\\{C1}\\InprocServer32", u"", u"C:\\windows\\system32\\alpha.dll");
  s.SetString(R, u"CLSID\\{C1}\\InprocServer32", u"ThreadingModel", u"Both");
  s.SetString(R, u"CLSID\\{C1}\\ProgID", u"", u"Alpha.Class.1");
  s.SetString(R, u"CLSID\\{C1}\\TypeLib", u"", u"{T1}");
  s.SetString(R, u"CLSID\\{C2}", u"", u"beta");
  s.SetString(R, u"CLSID\\{C3}", u"", u"Gamma");
  s.SetString(R, u"CLSID\\{C4}", u"", u"alpha class");
  s.SetString(R, u"Alpha.Class.1", u"", u"Alpha Class");
  s.SetString(R, u"Alpha.Class.1\\CLSID", u"", u"{C1}");
  s.SetString(R, u"AppID\\{A1}", u"", u"Alpha App");
  s.SetString(R, u"AppID\\app.exe", u"AppID", u"{A1}");
  s.SetString(R, u"TypeLib\\{T1}\\1.0", u"", u"Alpha Library");
  s.SetString(R, u"TypeLib\\{T1}\\1.0\\0\\win32", u"", u"C:\\windows\\system32\\alpha.tlb");
  s.SetString(R, u"Interface\\{I1}", u"", u"IAlpha");
  s.SetString(R, u"Interface\\{I1}\\ProxyStubClsid32", u"", u"{C2}");
  s.SetString(R, u"Interface\\{I1}\\TypeLib", u"", u"{T1}");
  s.SetString(R, u"Interface\\{I1}\\TypeLib", u"Version", u"1.0");
}

}  // namespace brannock::ui::testing
