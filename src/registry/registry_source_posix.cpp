#include <cstdlib>

#include "registry/registry_source.h"

namespace brannock::registry {

namespace {

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

}  // namespace

// Without a path: $WINEPREFIX, else ~/.wine when it holds system.reg, else
// the demo registry. A $WINEPREFIX that cannot be read is an error (the user
// named it), a missing ~/.wine is not.
RegistrySource OpenRegistrySource(const std::optional<std::filesystem::path>& path) {
  if (path) return OpenRegistryPath(*path);
  if (auto prefix = EnvironmentPath("WINEPREFIX")) return OpenRegistryPath(*prefix);
  if (auto home = EnvironmentPath("HOME")) {
    const std::filesystem::path wine = *home / ".wine";
    std::error_code ec;
    if (std::filesystem::is_regular_file(wine / "system.reg", ec)) return OpenRegistryPath(wine);
  }
  return OpenDemoRegistry();
}

}  // namespace brannock::registry
