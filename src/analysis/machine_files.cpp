#include "analysis/machine_files.h"

#include <system_error>

#include "platform/environment_list.h"
#include "platform/files.h"
#include "typelib/wow64_paths.h"

namespace brannock::analysis {

MachineFiles::MachineFiles(typelib::PathMapper mapper, bool native, Text systemDir, Text windowsDir)
    : mapper_(std::move(mapper)), native_(native), systemDir_(std::move(systemDir)), windowsDir_(std::move(windowsDir)) {}

MachineFiles MachineFiles::ForSource(const registry::RegistrySource& source, const TextList& drives, bool wow64Files) {
  using Kind = registry::RegistrySource::Kind;
  typelib::PathMapper mapper =
      source.kind == Kind::WinePrefix ? typelib::PathMapper::ForWinePrefix(source.path) : typelib::PathMapper();
  for (const Text& d : drives) mapper.AddDriveOption(d);
  Text windows = platform::ExpandWithEntries(u"%SystemRoot%", source.WindowsEnvironment());
  if (windows.empty() || windows.front() == u'%') windows = u"C:\\windows";
  const Text system = windows + (wow64Files ? u"\\syswow64" : u"\\system32");
  return MachineFiles(std::move(mapper), source.kind == Kind::Live, system, windows);
}

Presence MachineFiles::OfPlainPath(const Text& plain) {
  const Text key = UpperAscii(plain);
  if (auto it = known_.find(key); it != known_.end()) return it->second;
  Presence p = Presence::Unknown;
  if (native_) {
    std::error_code ec;
    p = std::filesystem::is_regular_file(platform::HostPath(plain), ec) ? Presence::Present : Presence::Missing;
  } else if (mapper_.HasRootOf(plain)) {
    p = mapper_.MapWindowsPath(plain) ? Presence::Present : Presence::Missing;
  }
  known_.emplace(key, p);
  return p;
}

Presence MachineFiles::Of(TextView windowsPath) {
  const Text plain = typelib::PlainWindowsPath(windowsPath);
  if (plain.empty()) return Presence::Unknown;
  if (!typelib::WindowsPathRoot(plain).empty()) return OfPlainPath(plain);
  if (plain.find_first_of(u"\\:") != Text::npos) return Presence::Unknown;  // relative to some folder
  // A bare name: the system folder, then the Windows folder.
  Presence result = Presence::Missing;
  for (const Text* dir : {&systemDir_, &windowsDir_}) {
    const Presence p = OfPlainPath(*dir + u"\\" + plain);
    if (p == Presence::Present) return p;
    if (p == Presence::Unknown) result = p;
  }
  return result;
}

namespace {

bool EndsWithNoCase(TextView s, TextView end) {
  return s.size() >= end.size() && EqualsNoCase(s.substr(s.size() - end.size()), end);
}

}  // namespace

ServerFile FindServerFile(TextView value, MachineFiles& files) {
  TextView text = value;
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == u'"') {
    const size_t close = text.find(u'"', 1);
    const Text path(text.substr(1, close == TextView::npos ? TextView::npos : close - 1));
    return {path, files.Of(path)};
  }
  // The whole text first (a path with blanks and no arguments), then each
  // part before a blank, shortest first.
  ServerFile whole{Text(text), files.Of(text)};
  if (whole.presence == Presence::Present || text.find(u' ') == TextView::npos) return whole;
  ServerFile reported = whole;
  bool reportedFile = false;
  bool unknown = whole.presence == Presence::Unknown;
  for (size_t blank = text.find(u' '); blank != TextView::npos; blank = text.find(u' ', blank + 1)) {
    const TextView part = text.substr(0, blank);
    const Presence p = files.Of(part);
    if (p == Presence::Present) return {Text(part), p};
    if (p == Presence::Unknown) unknown = true;
    if (!reportedFile && (EndsWithNoCase(part, u".exe") || EndsWithNoCase(part, u".dll"))) {
      reported = {Text(part), p};
      reportedFile = true;
    }
  }
  if (unknown) reported.presence = Presence::Unknown;
  return reported;
}

bool InUserWritablePlace(TextView path) {
  Text upper = UpperAscii(typelib::PlainWindowsPath(path));
  for (TextView variable : {u"%TEMP%", u"%TMP%", u"%APPDATA%", u"%LOCALAPPDATA%", u"%USERPROFILE%", u"%PUBLIC%",
                            u"%PROGRAMDATA%", u"%ALLUSERSPROFILE%", u"%HOMEPATH%"}) {
    if (upper.starts_with(variable)) return true;
  }
  if (upper.size() < 2 || upper[1] != u':') return false;
  const TextView rest = TextView(upper).substr(2);
  for (TextView place : {u"\\USERS\\", u"\\DOCUMENTS AND SETTINGS\\", u"\\PROGRAMDATA\\", u"\\TEMP\\", u"\\TMP\\",
                         u"\\WINDOWS\\TEMP\\"}) {
    if (rest.starts_with(place)) return true;
  }
  return false;
}

}  // namespace brannock::analysis
