#include <cstdlib>

#include "registry/reg_file_parser.h"
#include "registry/registry_source.h"

namespace brannock::registry {

namespace {

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

}  // namespace

std::filesystem::path HomeFolder() { return EnvironmentPath("HOME").value_or(std::filesystem::path()); }

// Without a path: the first Wine prefix among $WINEPREFIX and ~/.wine, else
// the demo registry. A folder that is not a prefix (Wine may still be
// writing its registry files) is passed over with the reason; a prefix
// whose files cannot be read is an error.
RegistrySource OpenRegistrySource(const std::optional<std::filesystem::path>& path) {
  if (path) return OpenRegistryPath(*path);
  TextList skipped;
  auto tryPrefix = [&](const Text& label, const std::filesystem::path& folder) -> std::optional<RegistrySource> {
    if (auto why = NotAWinePrefix(folder)) {
      skipped.push_back(label + u" skipped: " + Utf8ToUtf16(*why));
      return std::nullopt;
    }
    return OpenRegistryPath(folder);
  };
  std::optional<RegistrySource> found;
  if (auto prefix = EnvironmentPath("WINEPREFIX"))
    found = tryPrefix(u"$WINEPREFIX " + PathForDisplay(*prefix, HomeFolder()), *prefix);
  if (!found) {
    if (auto home = EnvironmentPath("HOME")) found = tryPrefix(u"~/.wine", *home / ".wine");
  }
  RegistrySource source = found ? std::move(*found) : OpenDemoRegistry();
  source.skipped = std::move(skipped);
  return source;
}

}  // namespace brannock::registry
