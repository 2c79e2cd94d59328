#include "typelib/loader.h"

#include "typelib/file_loader.h"

namespace brannock::typelib {

// The project's own file reader; Windows paths of a Wine prefix's registry
// map to the prefix's drives.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend* registry,
                                                   const std::filesystem::path& winePrefix) {
  return std::make_unique<FileTypeLibLoader>(
      registry, winePrefix.empty() ? PathMapper() : PathMapper::ForWinePrefix(winePrefix));
}

}  // namespace brannock::typelib
