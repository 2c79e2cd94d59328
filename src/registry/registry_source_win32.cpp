#include "registry/registry_source.h"

#include "registry/win32_registry.h"

namespace brannock::registry {

// Windows users do not write paths with "~".
std::filesystem::path HomeFolder() { return {}; }

// On Windows a run reads the live registry unless it names a file or prefix.
RegistrySource OpenRegistrySource(const std::optional<std::filesystem::path>& path) {
  if (path) return OpenRegistryPath(*path);
  RegistrySource source;
  source.kind = RegistrySource::Kind::Live;
  source.backend = std::make_unique<Win32Registry>();
  return source;
}

}  // namespace brannock::registry
