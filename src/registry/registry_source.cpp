#include "registry/registry_source.h"

#include "platform/files.h"
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
  return EqualsNoCase(platform::HostPathText(path.extension()), u".reg");
}

// The files a file source is read from.
std::vector<std::filesystem::path> SourceFiles(RegistrySource::Kind kind, const std::filesystem::path& path) {
  if (kind == RegistrySource::Kind::WinePrefix) return {path / "system.reg", path / "user.reg"};
  if (kind == RegistrySource::Kind::RegFile || kind == RegistrySource::Kind::Hive) return {path};
  return {};
}

std::vector<FileStamp> StampsOf(RegistrySource::Kind kind, const std::filesystem::path& path) {
  std::vector<FileStamp> stamps;
  for (const auto& file : SourceFiles(kind, path)) stamps.push_back(FileStamp::Of(file));
  return stamps;
}

RegistrySource FileSource(RegistrySource::Kind kind, const std::filesystem::path& path) {
  RegistrySource source;
  source.kind = kind;
  source.path = path;
  source.stamps = StampsOf(kind, path);
  source.backend = LoadSourceStore(kind, path, StoreLayout::Composed);
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
  if (home.empty() || !path.is_absolute()) return platform::HostPathText(path);
  const std::filesystem::path rest = path.lexically_normal().lexically_relative(home.lexically_normal());
  if (rest.empty() || *rest.begin() == "..") return platform::HostPathText(path);
  if (rest == ".") return u"~";
  return u"~/" + platform::HostPathText(rest.generic_string());
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

FileStamp FileStamp::Of(const std::filesystem::path& file) {
  FileStamp stamp;
  stamp.file = file;
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(file, ec);
  if (!ec) stamp.size = size;
  const auto time = std::filesystem::last_write_time(file, ec);
  if (!ec) stamp.time = time;
  return stamp;
}

bool RegistrySource::ReloadIfChanged() {
  auto* store = dynamic_cast<MemoryStore*>(backend.get());
  if (store == nullptr || stamps.empty()) return false;
  std::vector<FileStamp> now = StampsOf(kind, path);
  if (now == stamps) return false;
  *store = std::move(*LoadSourceStore(kind, path, StoreLayout::Composed));
  stamps = std::move(now);
  return true;
}

RegistrySource OpenRegistryPath(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status))
    throw RegistryParseError::At(platform::HostPathText(path), 0, "no such file or folder");
  if (std::filesystem::is_directory(status)) {
    if (NotAWinePrefix(path))
      throw RegistryParseError(platform::HostPathText(path) + u": not a Wine prefix (" +
                               platform::HostPathText(path / "system.reg") + u" is missing)");
    return FileSource(RegistrySource::Kind::WinePrefix, path);
  }
  if (HasRegExtension(path)) return FileSource(RegistrySource::Kind::RegFile, path);
  return FileSource(RegistrySource::Kind::Hive, path);
}

RegistrySource OpenDemoRegistry() {
  RegistrySource source;
  source.kind = RegistrySource::Kind::Demo;
  source.backend = LoadSourceStore(source.kind, {}, StoreLayout::Composed);
  return source;
}

std::unique_ptr<MemoryStore> LoadSourceStore(RegistrySource::Kind kind, const std::filesystem::path& path,
                                             StoreLayout layout) {
  auto store = std::make_unique<MemoryStore>();
  store->SetKeepsStoredLayout(layout == StoreLayout::AsStored);
  switch (kind) {
    case RegistrySource::Kind::WinePrefix:
      LoadWinePrefix(path, *store);
      // Made when a value is first expanded: most commands expand none.
      store->SetWindowsEnvironment([](MemoryStore& prefix) { return WinePrefixEnvironment(prefix); });
      break;
    case RegistrySource::Kind::RegFile: LoadRegFile(path, *store); break;
    case RegistrySource::Kind::Hive: LoadHive(path, *store); break;
    case RegistrySource::Kind::Demo: ParseRegFile(DemoRegistryBytes(), u"demo.reg", *store); break;
    case RegistrySource::Kind::Live: break;
  }
  store->SetReadOnly(true);
  return store;
}

}  // namespace brannock::registry
