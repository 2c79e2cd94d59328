#include "ui/logic/icon_location.h"

#include <system_error>

#include "common/error.h"
#include "common/velkar_strutils.h"

namespace brannock::ui {

namespace fs = std::filesystem;

IconLocation SplitIconLocation(TextView candidate) {
  IconLocation loc;
  const size_t comma = candidate.find(u',');
  if (comma == TextView::npos) {
    loc.file = Text(candidate);
    return loc;
  }
  loc.file = Text(candidate.substr(0, comma));
  const TextView number = candidate.substr(comma + 1, 255);
  if (!TryStrToInt(number, &loc.index))
    throw ConversionError(u"'" + Text(number) + u"' is not a valid integer value");
  return loc;
}

namespace {

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return !p.empty() && fs::is_regular_file(p, ec);
}

fs::path HostPath(TextView name) { return fs::path(Utf16ToUtf8(name)); }

}  // namespace

fs::path FindNoCase(const fs::path& base, const fs::path& relative) {
  fs::path current = base;
  std::error_code ec;
  for (const fs::path& part : relative) {
    const std::string want = part.string();
    if (want.empty() || want == ".") continue;
    if (want == "..") return {};
    fs::path exact = current / part;
    if (fs::exists(exact, ec)) {
      current = exact;
      continue;
    }
    fs::path found;
    const Text wantKey = UpperAscii(Utf8ToUtf16(want));
    for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
      if (UpperAscii(Utf8ToUtf16(it->path().filename().string())) == wantKey) {
        found = it->path();
        break;
      }
    }
    if (found.empty()) return {};
    current = found;
  }
  return current;
}

HostFileLocator::HostFileLocator(fs::path winePrefix) : prefix_(std::move(winePrefix)) {}

fs::path HostFileLocator::Existing(TextView name) const {
  if (name.empty()) return {};
  if (!prefix_.empty()) {
    // A drive path: "C:\dir\file" or "C:/dir/file".
    if (name.size() >= 3 && name[1] == u':' && (name[2] == u'\\' || name[2] == u'/')) {
      Text rest(name.substr(3));
      for (char16_t& c : rest)
        if (c == u'\\') c = u'/';
      const std::string drive(1, static_cast<char>(LowerAscii(Text(1, name[0]))[0]));
      fs::path p = FindNoCase(prefix_ / "dosdevices" / (drive + ":"), HostPath(rest));
      return IsFile(p) ? p : fs::path();
    }
    if (name.find(u'\\') != TextView::npos) return {};
  }
  fs::path p = HostPath(name);
  return IsFile(p) ? fs::absolute(p) : fs::path();
}

fs::path HostFileLocator::LocateIconFile(TextView name) const {
  if (name.empty()) return {};
  if (fs::path p = Existing(name); !p.empty()) return p;
  if (prefix_.empty() || name.find_first_of(u"\\/:") != TextView::npos) return {};
  const fs::path windows = FindNoCase(prefix_, "drive_c/windows");
  if (windows.empty()) return {};
  for (const fs::path& dir : {FindNoCase(windows, "system32"), windows}) {
    if (dir.empty()) continue;
    fs::path p = FindNoCase(dir, HostPath(name));
    if (IsFile(p)) return p;
  }
  return {};
}

}  // namespace brannock::ui
