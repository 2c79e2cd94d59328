#include "typelib/path_mapper.h"

#include <system_error>

namespace brannock::typelib {

std::filesystem::path HostPath(TextView text) {
#ifdef _WIN32
  return std::filesystem::path(std::wstring(text.begin(), text.end()));
#else
  return std::filesystem::path(Utf16ToUtf8(text));
#endif
}

Text HostPathText(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring w = path.wstring();
  return Text(w.begin(), w.end());
#else
  return Utf8ToUtf16(path.string());
#endif
}

PathMapper PathMapper::ForWinePrefix(const std::filesystem::path& prefix) {
  PathMapper mapper;
  std::error_code ec;
  const std::filesystem::path devices = prefix / "dosdevices";
  for (std::filesystem::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
    const Text name = HostPathText(it->path().filename());
    if (name.size() != 2 || name[1] != u':') continue;
    const char16_t letter = UpperAscii(name[0]);
    if (letter < u'A' || letter > u'Z') continue;
    std::error_code linkError;
    std::filesystem::path target = std::filesystem::read_symlink(it->path(), linkError);
    if (linkError) continue;
    if (target.is_relative()) target = devices / target;
    mapper.AddDrive(letter, target.lexically_normal());
  }
  return mapper;
}

void PathMapper::AddDrive(char16_t letter, const std::filesystem::path& dir) { drives_[UpperAscii(letter)] = dir; }

bool PathMapper::AddDriveOption(TextView option) {
  if (option.size() < 3 || option[1] != u'=') return false;
  const char16_t letter = UpperAscii(option[0]);
  if (letter < u'A' || letter > u'Z') return false;
  AddDrive(letter, HostPath(option.substr(2)));
  return true;
}

std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& dir, TextView name) {
  std::error_code ec;
  std::filesystem::path exact = dir / HostPath(name);
  if (std::filesystem::exists(exact, ec)) return exact;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (EqualsNoCase(HostPathText(it->path().filename()), name)) return it->path();
  return std::nullopt;
}

std::optional<std::filesystem::path> PathMapper::MapWindowsPath(TextView path) const {
  if (path.size() < 3 || path[1] != u':' || (path[2] != u'\\' && path[2] != u'/')) return std::nullopt;
  auto drive = drives_.find(UpperAscii(path[0]));
  if (drive == drives_.end()) return std::nullopt;
  std::filesystem::path host = drive->second;
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"\\/", start);
    if (end == TextView::npos) end = path.size();
    const TextView part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (host != drive->second) host = host.parent_path();
      continue;
    }
    auto found = FindNoCase(host, part);
    if (!found) return std::nullopt;
    host = *found;
  }
  std::error_code ec;
  if (!std::filesystem::exists(host, ec)) return std::nullopt;
  return host;
}

}  // namespace brannock::typelib
