#include "registry/windows_environment.h"

#include <algorithm>

#include "platform/environment_list.h"
#include "registry/registry_reader.h"

namespace brannock::registry {

namespace {

// NAME=VALUE entries keyed by name without regard to case.
class EnvironmentBuilder {
 public:
  void Set(TextView name, TextView value) {
    if (name.empty() || value.empty()) return;
    for (Text& entry : entries_) {
      if (EqualsNoCase(TextView(entry).substr(0, entry.find(u'=')), name)) {
        entry = Text(name) + u"=" + Text(value);
        return;
      }
    }
    entries_.push_back(Text(name) + u"=" + Text(value));
  }

  // REG_SZ as it is, REG_EXPAND_SZ expanded with the entries so far.
  void SetFromValue(TextView name, uint32_t type, const Bytes& data) {
    if (type != RegType::Sz && type != RegType::ExpandSz) return;
    Text value = TextUpToNul(data);
    if (type == RegType::ExpandSz) value = platform::ExpandWithEntries(value, entries_);
    Set(name, value);
  }

  TextList Sorted() && {
    std::stable_sort(entries_.begin(), entries_.end(), [](const Text& a, const Text& b) {
      return UpperAscii(TextView(a).substr(0, a.find(u'='))) < UpperAscii(TextView(b).substr(0, b.find(u'=')));
    });
    return std::move(entries_);
  }

  const TextList& Entries() const { return entries_; }

 private:
  TextList entries_;
};

// The text of a REG_SZ or REG_EXPAND_SZ value, not expanded; empty when the
// key or value is missing or of another type.
Text StringValue(RegistryBackend& backend, RootKey root, TextView key, TextView name) {
  RegistryReader reader(backend, root, Access::KeyRead);
  if (!reader.OpenKey(key)) return Text();
  uint32_t type = 0;
  Bytes data;
  if (!reader.GetData(name, &type, &data)) return Text();
  if (type != RegType::Sz && type != RegType::ExpandSz) return Text();
  return TextUpToNul(data);
}

// Every string value of a key, in stored order.
void AddKeyValues(RegistryBackend& backend, RootKey root, TextView key, EnvironmentBuilder& env) {
  RegistryReader reader(backend, root, Access::KeyRead);
  if (!reader.OpenKey(key)) return;
  TextList names;
  reader.GetValueNames(names);
  for (const Text& name : names) {
    uint32_t type = 0;
    Bytes data;
    if (!name.empty() && reader.GetData(name, &type, &data)) env.SetFromValue(name, type, data);
  }
}

}  // namespace

namespace {

TextList BuildDefaultWindowsEnvironment() {
  EnvironmentBuilder env;
  for (auto [name, value] : std::initializer_list<std::pair<TextView, TextView>>{
           {u"ALLUSERSPROFILE", u"C:\\ProgramData"},
           {u"CommonProgramFiles", u"C:\\Program Files\\Common Files"},
           {u"CommonProgramFiles(x86)", u"C:\\Program Files (x86)\\Common Files"},
           {u"CommonProgramW6432", u"C:\\Program Files\\Common Files"},
           {u"ComSpec", u"C:\\Windows\\system32\\cmd.exe"},
           {u"OS", u"Windows_NT"},
           {u"Path", u"C:\\Windows\\system32;C:\\Windows;C:\\Windows\\System32\\Wbem"},
           {u"PATHEXT", u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"},
           {u"ProgramData", u"C:\\ProgramData"},
           {u"ProgramFiles", u"C:\\Program Files"},
           {u"ProgramFiles(x86)", u"C:\\Program Files (x86)"},
           {u"ProgramW6432", u"C:\\Program Files"},
           {u"PUBLIC", u"C:\\Users\\Public"},
           {u"SystemDrive", u"C:"},
           {u"SystemRoot", u"C:\\Windows"},
           {u"windir", u"C:\\Windows"},
       })
    env.Set(name, value);
  return std::move(env).Sorted();
}

}  // namespace

// Built once: every REG_EXPAND_SZ value of a source without an environment
// of its own is expanded with it.
TextList DefaultWindowsEnvironment() {
  static const TextList environment = BuildDefaultWindowsEnvironment();
  return environment;
}

TextList WinePrefixEnvironment(RegistryBackend& backend) {
  constexpr RootKey HKLM = RootKey::LocalMachine;
  EnvironmentBuilder env;
  Text systemRoot = StringValue(backend, HKLM, u"Software\\Microsoft\\Windows NT\\CurrentVersion", u"SystemRoot");
  if (systemRoot.empty()) systemRoot = u"C:\\windows";
  env.Set(u"SystemRoot", systemRoot);
  if (systemRoot.size() >= 2 && systemRoot[1] == u':') env.Set(u"SystemDrive", TextView(systemRoot).substr(0, 2));

  constexpr TextView kCurrentVersion = u"Software\\Microsoft\\Windows\\CurrentVersion";
  for (auto [name, value] : std::initializer_list<std::pair<TextView, TextView>>{
           {u"ProgramFiles", u"ProgramFilesDir"},
           {u"ProgramFiles(x86)", u"ProgramFilesDir (x86)"},
           {u"ProgramW6432", u"ProgramW6432Dir"},
           {u"CommonProgramFiles", u"CommonFilesDir"},
           {u"CommonProgramFiles(x86)", u"CommonFilesDir (x86)"},
           {u"CommonProgramW6432", u"CommonW6432Dir"},
       })
    env.Set(name, platform::ExpandWithEntries(StringValue(backend, HKLM, kCurrentVersion, value), env.Entries()));

  constexpr TextView kProfiles = u"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
  const Text programData = platform::ExpandWithEntries(StringValue(backend, HKLM, kProfiles, u"ProgramData"), env.Entries());
  env.Set(u"ProgramData", programData);
  env.Set(u"ALLUSERSPROFILE", programData);
  env.Set(u"PUBLIC", platform::ExpandWithEntries(StringValue(backend, HKLM, kProfiles, u"Public"), env.Entries()));

  AddKeyValues(backend, HKLM, u"System\\CurrentControlSet\\Control\\Session Manager\\Environment", env);
  AddKeyValues(backend, RootKey::CurrentUser, u"Environment", env);
  return std::move(env).Sorted();
}

Text EnvironmentValue(const TextList& environment, TextView name) {
  for (const Text& entry : environment) {
    const size_t eq = entry.find(u'=');
    if (eq != Text::npos && EqualsNoCase(TextView(entry).substr(0, eq), name)) return entry.substr(eq + 1);
  }
  return Text();
}

}  // namespace brannock::registry
