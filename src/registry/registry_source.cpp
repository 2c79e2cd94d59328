#include "registry/registry_source.h"

#include "registry/demo_registry.h"
#include "registry/hive_store.h"
#include "registry/memory_store.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_parse_error.h"
#include "registry/windows_environment.h"
#include "registry/wine_reg_parser.h"

namespace brannock::registry {

namespace {

bool HasRegExtension(const std::filesystem::path& path) {
  return EqualsNoCase(SourceName(path.extension()), u".reg");
}

RegistrySource FileSource(RegistrySource::Kind kind, const std::filesystem::path& path,
                          std::unique_ptr<MemoryStore> store) {
  store->SetReadOnly(true);
  RegistrySource source;
  source.kind = kind;
  source.path = path;
  source.backend = std::move(store);
  return source;
}

}  // namespace

Text RegistrySource::Description() const {
  const Text where = PathForDisplay(path, HomeFolder());
  switch (kind) {
    case Kind::Live: return u"Live registry";
    case Kind::WinePrefix: return u"Wine prefix " + where;
    case Kind::RegFile: return u"Registry file " + where;
    case Kind::Hive: return u"Hive " + where;
    case Kind::Demo: return u"Demo registry";
  }
  return Text();
}

Text PathForDisplay(const std::filesystem::path& path, const std::filesystem::path& home) {
  if (home.empty() || !path.is_absolute()) return SourceName(path);
  const std::filesystem::path rest = path.lexically_normal().lexically_relative(home.lexically_normal());
  if (rest.empty() || *rest.begin() == "..") return SourceName(path);
  if (rest == ".") return u"~";
  return u"~/" + SourceName(rest.generic_string());
}

std::optional<std::string> NotAWinePrefix(const std::filesystem::path& folder) {
  std::error_code ec;
  const auto status = std::filesystem::status(folder, ec);
  if (!std::filesystem::exists(status)) return "no such folder";
  if (!std::filesystem::is_directory(status)) return "not a folder";
  // A folder that Wine is still setting up has no system.reg yet.
  if (!std::filesystem::is_regular_file(folder / "system.reg", ec)) return "not a Wine prefix (no system.reg)";
  return std::nullopt;
}

TextList RegistrySource::WindowsEnvironment() const {
  return backend ? backend->WindowsEnvironment() : DefaultWindowsEnvironment();
}

RegistrySource OpenRegistryPath(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status))
    throw RegistryParseError::At(SourceName(path), 0, "no such file or folder");
  auto store = std::make_unique<MemoryStore>();
  if (std::filesystem::is_directory(status)) {
    if (NotAWinePrefix(path))
      throw RegistryParseError(SourceName(path) + u": not a Wine prefix (" + SourceName(path / "system.reg") +
                               u" is missing)");
    LoadWinePrefix(path, *store);
    store->SetWindowsEnvironment(WinePrefixEnvironment(*store));
    return FileSource(RegistrySource::Kind::WinePrefix, path, std::move(store));
  }
  if (HasRegExtension(path)) {
    LoadRegFile(path, *store);
    return FileSource(RegistrySource::Kind::RegFile, path, std::move(store));
  }
  LoadHive(path, *store);
  return FileSource(RegistrySource::Kind::Hive, path, std::move(store));
}

RegistrySource OpenDemoRegistry() {
  auto store = std::make_unique<MemoryStore>();
  ParseRegFile(DemoRegistryBytes(), u"demo.reg", *store);
  return FileSource(RegistrySource::Kind::Demo, {}, std::move(store));
}

}  // namespace brannock::registry
