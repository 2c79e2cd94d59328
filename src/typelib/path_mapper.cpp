#include "typelib/path_mapper.h"

#include <system_error>

#include "platform/files.h"

namespace brannock::typelib {

PathMapper PathMapper::ForWinePrefix(const std::filesystem::path& prefix) {
  PathMapper mapper;
  std::error_code ec;
  const std::filesystem::path devices = prefix / "dosdevices";
  for (std::filesystem::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
    const Text name = platform::HostPathText(it->path().filename());
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

void PathMapper::AddShare(TextView share, const std::filesystem::path& dir) {
  shares_[UpperAscii(WindowsPathRoot(PlainWindowsPath(share)))] = dir;
}

bool PathMapper::AddDriveOption(TextView option) {
  const size_t equals = option.find(u'=');
  if (equals == TextView::npos || equals + 1 == option.size()) return false;
  const TextView root = option.substr(0, equals);
  const std::filesystem::path dir = platform::HostPath(option.substr(equals + 1));
  if (root.size() == 1) {
    const char16_t letter = UpperAscii(root[0]);
    if (letter < u'A' || letter > u'Z') return false;
    AddDrive(letter, dir);
    return true;
  }
  const Text plain = PlainWindowsPath(root);
  const Text share = WindowsPathRoot(plain);
  if (share.empty() || share[0] != u'\\' || share.size() != plain.size()) return false;
  AddShare(share, dir);
  return true;
}

Text PlainWindowsPath(TextView path) {
  while (!path.empty() && path.front() <= u' ') path.remove_prefix(1);
  while (!path.empty() && path.back() <= u' ') path.remove_suffix(1);
  if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') path = path.substr(1, path.size() - 2);
  Text plain(path);
  for (char16_t& c : plain)
    if (c == u'/') c = u'\\';
  // \\?\C:\x and \\.\C:\x are C:\x; \\?\UNC\server\share\x is \\server\share\x.
  if (plain.size() >= 4 && plain[0] == u'\\' && plain[1] == u'\\' && (plain[2] == u'?' || plain[2] == u'.') &&
      plain[3] == u'\\') {
    const TextView rest = TextView(plain).substr(4);
    if (rest.size() >= 4 && EqualsNoCase(rest.substr(0, 4), u"UNC\\")) return u"\\\\" + Text(rest.substr(4));
    return Text(rest);
  }
  return plain;
}

Text WindowsPathRoot(TextView plain) {
  if (plain.size() >= 3 && plain[1] == u':' && plain[2] == u'\\') {
    const char16_t letter = UpperAscii(plain[0]);
    if (letter >= u'A' && letter <= u'Z') return Text{letter, u':'};
    return {};
  }
  if (plain.size() < 3 || plain[0] != u'\\' || plain[1] != u'\\') return {};
  const size_t serverEnd = plain.find(u'\\', 2);
  if (serverEnd == TextView::npos || serverEnd == 2) return {};
  size_t shareEnd = plain.find(u'\\', serverEnd + 1);
  if (shareEnd == TextView::npos) shareEnd = plain.size();
  if (shareEnd == serverEnd + 1) return {};
  return Text(plain.substr(0, shareEnd));
}

Text DriveOptionHint(TextView path) {
  const Text root = WindowsPathRoot(PlainWindowsPath(path));
  if (root.empty()) return {};
  return u"--drive " + (root[0] == u'\\' ? root : root.substr(0, 1)) + u"=DIR";
}

std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& dir, TextView name) {
  std::error_code ec;
  std::filesystem::path exact = dir / platform::HostPath(name);
  if (std::filesystem::exists(exact, ec)) return exact;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (EqualsNoCase(platform::HostPathText(it->path().filename()), name)) return it->path();
  return std::nullopt;
}

bool PathMapper::HasRootOf(TextView path) const {
  const Text root = UpperAscii(WindowsPathRoot(PlainWindowsPath(path)));
  if (root.empty()) return false;
  return root[0] == u'\\' ? shares_.count(root) > 0 : drives_.count(root[0]) > 0;
}

std::optional<std::filesystem::path> PathMapper::MapWindowsPath(TextView windowsPath) const {
  const Text path = PlainWindowsPath(windowsPath);
  const Text root = UpperAscii(WindowsPathRoot(path));
  if (root.empty()) return std::nullopt;
  std::filesystem::path base;
  if (root[0] == u'\\') {
    auto share = shares_.find(root);
    if (share == shares_.end()) return std::nullopt;
    base = share->second;
  } else {
    auto drive = drives_.find(root[0]);
    if (drive == drives_.end()) return std::nullopt;
    base = drive->second;
  }
  std::filesystem::path host = base;
  size_t start = root.size() + 1;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == Text::npos) end = path.size();
    const TextView part = TextView(path).substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (host != base) host = host.parent_path();
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
