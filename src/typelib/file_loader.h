// Loading type libraries from files, with LoadTypeLib and LoadRegTypeLib
// semantics, for platforms without oleaut32.
//
// LoadTypeLib: an MSFT file, or a PE file (.dll, .ocx, .exe, resource-only
// .tlb) with a TYPELIB resource: number 1, or another one named by a
// trailing "\N" when the whole name is not itself a file. Windows paths map
// to host files through a PathMapper; other names are host paths, and a
// bare file name is also looked for in C:\windows\system32.
//
// LoadRegTypeLib: HKEY_CLASSES_ROOT\TypeLib\{GUID}\MAJOR.MINOR (hex) in the
// exact version, else the highest minor version above the requested one
// with the same major; below it the platform key of the registry view
// ("win64" in the 64-bit view, "win32" in the 32-bit one, then the other)
// in the locale key (the given lcid, then its primary language, then 0);
// its default value is the file. TYPE_E_LIBNOTREGISTERED when no
// registration fits.
//
// In the 32-bit view of a 64-bit registry the files are those a 32-bit
// program sees: C:\windows\system32 means C:\windows\syswow64.
//
// Registered paths come in every form Windows accepts (see PathMapper), an
// expandable one (REG_EXPAND_SZ) with %NAME% references expanded in the
// Windows environment of the registry source, never the host's.
//
// Imported libraries (stdole2.tlb) are found by registration and then by
// their file name (see ResolverNextTo). The registry must outlive the
// loaded libraries.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "registry/registry_backend.h"
#include "typelib/access.h"
#include "typelib/byte_reader.h"
#include "typelib/msft_reader.h"
#include "typelib/path_mapper.h"
#include "typelib/read_error.h"

namespace brannock::typelib {

// The largest file the loader reads (TYPE_E_CANTLOADLIBRARY beyond it):
// type libraries, also inside programs, are far smaller.
inline constexpr uintmax_t kMaxTypeLibFileBytes = uintmax_t{256} << 20;  // 256 MiB

// "x.dll\2" as the path "x.dll" and resource 2; a name without such a
// suffix has no resource number.
struct ResourceSuffix {
  Text path;
  std::optional<uint16_t> resource;
};
ResourceSuffix SplitResourceSuffix(TextView name);

// An MSFT or SLTG library in `bytes`, or the TYPELIB resource `resource` of
// a PE file. TYPE_E_CANTLOADLIBRARY when the bytes are neither or the
// resource is missing, TYPE_E_INVDATAREAD when the library is damaged.
// `failure`, when given, says where a damaged library stopped the reader
// (offsets count from the start of the library, in a PE file from the start
// of its TYPELIB resource).
HRESULT OpenTypeLibBytes(ByteSpan bytes, uint16_t resource, ImportResolver resolver, std::shared_ptr<TypeLib>* lib,
                         ReadFailure* failure = nullptr);

class FileTypeLibLoader : public TypeLibLoader {
 public:
  // `registry` may be null: nothing is registered then. `view` is the
  // registry view the libraries are looked up in. REG_EXPAND_SZ paths of
  // the registry expand with the Windows environment of its machine.
  FileTypeLibLoader(registry::RegistryBackend* registry, PathMapper mapper,
                    registry::RegistryView view = registry::RegistryView::Bits64);
  ~FileTypeLibLoader() override;

  HRESULT LoadRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                         std::shared_ptr<TypeLib>* lib) override;
  HRESULT LoadTypeLib(const Text& fileName, std::shared_ptr<TypeLib>* lib) override;
  bool FileExists(const Text& fileName) override;
  Text FailureDetail() const override;
  bool ReadLibraryFile(const Text& fileName, std::vector<uint8_t>* bytes) override;

  // Where the last load that failed on a damaged library stopped reading;
  // none after a load that succeeded or failed for another reason.
  std::optional<ReadFailure> LastReadFailure() const;

  // The registered file of a library (QueryPathOfRegTypeLib), as written in
  // the registry.
  HRESULT QueryPathOfRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid, Text* path);

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace brannock::typelib
