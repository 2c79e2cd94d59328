#include <windows.h>
#include <oleauto.h>

#include <cstring>

#include "platform/win32/wide_text.h"
#include "typelib/loader.h"
#include "typelib/oleaut32_adapter.h"

namespace brannock::typelib {
namespace {

// oleaut32's own loaders: registered libraries come from the live registry.
class OleLoader : public TypeLibLoader {
 public:
  HRESULT LoadRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                         std::shared_ptr<TypeLib>* lib) override {
    GUID g;
    g.Data1 = guid.Data1;
    g.Data2 = guid.Data2;
    g.Data3 = guid.Data3;
    std::memcpy(g.Data4, guid.Data4.data(), 8);
    ITypeLib* loaded = nullptr;
    HRESULT hr = ::LoadRegTypeLib(g, major, minor, lcid, &loaded);
    if (SUCCEEDED(hr)) *lib = AdoptTypeLib(loaded);
    return hr;
  }

  HRESULT LoadTypeLib(const Text& fileName, std::shared_ptr<TypeLib>* lib) override {
    ITypeLib* loaded = nullptr;
    HRESULT hr = ::LoadTypeLib(platform::ToWide(fileName).c_str(), &loaded);
    if (SUCCEEDED(hr)) *lib = AdoptTypeLib(loaded);
    return hr;
  }
};

}  // namespace

// On Windows the loaders always read the live registry; a registry source
// given for the catalogue does not change where oleaut32 looks.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend*, const std::filesystem::path&,
                                                   const TextList&) {
  return std::make_unique<OleLoader>();
}

}  // namespace brannock::typelib
