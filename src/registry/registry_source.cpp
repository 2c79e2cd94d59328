#include "registry/registry_source.h"

#include "registry/demo_registry.h"
#include "registry/hive_store.h"
#include "registry/memory_store.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_parse_error.h"
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
  const Text where = SourceName(path);
  switch (kind) {
    case Kind::Live: return u"Live registry";
    case Kind::WinePrefix: return u"Wine prefix " + where;
    case Kind::RegFile: return u"Registry export " + where;
    case Kind::Hive: return u"Registry hive " + where;
    case Kind::Demo: return u"Demo registry";
  }
  return Text();
}

RegistrySource OpenRegistryPath(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status))
    throw RegistryParseError::At(SourceName(path), 0, "no such file or folder");
  auto store = std::make_unique<MemoryStore>();
  if (std::filesystem::is_directory(status)) {
    LoadWinePrefix(path, *store);
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
