#include "typelib/loader.h"

#include "typelib/file_loader.h"

namespace brannock::typelib {

// The project's own file reader; Windows paths of a Wine prefix's registry
// map to the prefix's drives.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend* registry,
                                                   const std::filesystem::path& winePrefix,
                                                   const TextList& drives, registry::RegistryView view) {
  PathMapper mapper = winePrefix.empty() ? PathMapper() : PathMapper::ForWinePrefix(winePrefix);
  for (const Text& drive : drives) mapper.AddDriveOption(drive);
  return std::make_unique<FileTypeLibLoader>(registry, std::move(mapper), view);
}

}  // namespace brannock::typelib
