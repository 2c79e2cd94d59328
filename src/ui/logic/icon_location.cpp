#include "ui/logic/icon_location.h"

#include <system_error>

#include "common/error.h"
#include "common/text_rules.h"
#include "platform/files.h"
#include "typelib/wow64_paths.h"

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

fs::path IfFile(const std::optional<fs::path>& p) {
  std::error_code ec;
  return p && fs::is_regular_file(*p, ec) ? *p : fs::path();
}

bool IsDrivePath(TextView name) { return name.size() >= 3 && name[1] == u':' && (name[2] == u'\\' || name[2] == u'/'); }

}  // namespace

HostFileLocator::HostFileLocator(const fs::path& winePrefix) {
  if (!winePrefix.empty()) drives_ = typelib::PathMapper::ForWinePrefix(winePrefix);
}

fs::path HostFileLocator::Existing(TextView name) const {
  if (name.empty()) return {};
  if (!drives_.Empty()) {
    if (IsDrivePath(name)) return IfFile(drives_.MapWindowsPath(name));
    if (name.find(u'\\') != TextView::npos) return {};
  }
  const fs::path p = IfFile(platform::HostPath(name));
  return p.empty() ? p : fs::absolute(p);
}

fs::path HostFileLocator::LocateIconFile(TextView name, bool wow64Files) const {
  if (name.empty()) return {};
  if (wow64Files && IsDrivePath(name)) return Existing(typelib::RedirectToWow64Dir(name));
  if (fs::path p = Existing(name); !p.empty()) return p;
  if (drives_.Empty() || name.find_first_of(u"\\/:") != TextView::npos) return {};
  const Text system = Text(wow64Files ? typelib::kWow64SystemDir : typelib::kSystemDir) + u"\\";
  for (TextView dir : {TextView(system), TextView(u"C:\\windows\\")})
    if (fs::path p = IfFile(drives_.MapWindowsPath(Text(dir) + Text(name))); !p.empty()) return p;
  return {};
}

}  // namespace brannock::ui
