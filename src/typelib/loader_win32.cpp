#include <windows.h>
#include <oleauto.h>

#include <cstring>

#include "platform/win32/wide_text.h"
#include "registry/win32_registry.h"
#include "registry/viewed_registry.h"
#include "typelib/file_loader.h"
#include "typelib/loader.h"
#include "typelib/oleaut32_adapter.h"
#include "typelib/wow64_paths.h"

namespace brannock::typelib {
namespace {

Text SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1];
  const UINT n = get(buffer, MAX_PATH);
  return n == 0 || n > MAX_PATH ? Text() : platform::FromWide(buffer, n);
}

// oleaut32's own loaders: registered libraries come from the live registry.
// The 64-bit view is oleaut32's own (this build is a 64-bit program). For
// the 32-bit view the registration is looked up here, in that view and
// preferring "win32", and its file is the one a 32-bit program would open:
// the system folder stands for SysWOW64.
class OleLoader : public TypeLibLoader {
 public:
  explicit OleLoader(registry::RegistryView view)
      : view_(view),
        wow64Files_(registry::SeesWow64Files(live_, view)),
        systemDir_(SystemFolder(GetSystemDirectoryW)),
        wow64Dir_(SystemFolder(GetSystemWow64DirectoryW)) {}

  HRESULT LoadRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                         std::shared_ptr<TypeLib>* lib) override {
    if (wow64Files_) {
      Text path;
      FileTypeLibLoader lookUp(&live_, PathMapper(), view_);
      const HRESULT found = lookUp.QueryPathOfRegTypeLib(guid, major, minor, lcid, &path);
      if (Failed(found)) return found;
      return LoadTypeLib(path, lib);
    }
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
    // Opening a library only reads it: ::LoadTypeLib registers a library
    // whose name is not a full Windows path (Wine takes a Unix path for
    // such a name), so a library merely viewed would land in the registry.
    HRESULT hr = ::LoadTypeLibEx(platform::ToWide(FileOfView(fileName)).c_str(), REGKIND_NONE, &loaded);
    if (SUCCEEDED(hr)) *lib = AdoptTypeLib(loaded);
    return hr;
  }

  bool FileExists(const Text& fileName) override { return TypeLibLoader::FileExists(FileOfView(fileName)); }

 private:
  Text FileOfView(const Text& fileName) const {
    if (!wow64Files_ || systemDir_.empty() || wow64Dir_.empty()) return fileName;
    return RedirectToWow64Dir(fileName, systemDir_, wow64Dir_);
  }

  registry::Win32Registry live_;
  registry::RegistryView view_;
  bool wow64Files_;
  Text systemDir_;
  Text wow64Dir_;
};

}  // namespace

// On Windows the loaders always read the live registry; a registry source
// given for the catalogue does not change where oleaut32 looks.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend*, const std::filesystem::path&,
                                                   const TextList&, registry::RegistryView view) {
  return std::make_unique<OleLoader>(view);
}

}  // namespace brannock::typelib
