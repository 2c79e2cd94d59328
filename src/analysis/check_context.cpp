#include "analysis/check_context.h"

#include "analysis/source_parts.h"
#include "platform/environment_list.h"
#include "registry/registry_reader.h"
#include "typelib/path_mapper.h"
#include "typelib/wow64_paths.h"

namespace brannock::analysis::check {

using registry::RegistryReader;

Context::Context(Catalogue& catalogue, registry::RegistryBackend& store, registry::RegistryView view,
                 MachineFiles& files, Findings& out)
    : catalogue(catalogue), classes(catalogue.Backend()), store(store), view(view), files(files), out(out) {
  machineKnown = HoldsSoftwareKey(store, RootKey::LocalMachine);
  userKnown = HoldsSoftwareKey(store, RootKey::CurrentUser);
  environment_ = store.WindowsEnvironment();
  for (const TObjectData& rec : catalogue.OCList) classByGuid_.emplace(UpperAscii(rec.GUID), &rec);
}

namespace {

RegistryReader ReaderFor(Context& c, RootKey root) {
  if (root == RootKey::ClassesRoot) return RegistryReader::ProcessView(c.classes);
  return RegistryReader(c.store, root, registry::Access::KeyRead | registry::Access::Wow64_64Key);
}

}  // namespace

Text Context::String(RootKey root, TextView path, TextView name) {
  return StringValueOrEmpty(root == RootKey::ClassesRoot ? classes : store, root, path, name);
}

bool Context::Has(RootKey root, TextView path) { return ReaderFor(*this, root).KeyExists(path); }

TextList Context::Subkeys(RootKey root, TextView path) {
  RegistryReader reader = ReaderFor(*this, root);
  TextList names;
  if (reader.OpenKeyReadOnly(path)) reader.GetKeyNames(names);
  return names;
}

Text Context::FindName(const TextList& names, TextView name) {
  for (const Text& n : names)
    if (EqualsNoCase(n, name)) return n;
  return {};
}

Text Context::Expand(TextView text) const { return platform::ExpandWithEntries(text, environment_); }

Presence Context::FileState(TextView path, bool wow64Files) {
  const Presence p = files.Of(wow64Files ? typelib::RedirectToWow64Dir(path) : Text(path));
  if (p == Presence::Unknown) {
    const Text root = typelib::WindowsPathRoot(typelib::PlainWindowsPath(path));
    if (!root.empty() && FindName(unmappedRoots, root).empty()) unmappedRoots.push_back(root);
  }
  return p;
}

const TObjectData* Context::ClassByGuid(TextView guid) const {
  auto it = classByGuid_.find(UpperAscii(guid));
  return it == classByGuid_.end() ? nullptr : it->second;
}

Text Context::ClassName(TextView guid) const {
  const TObjectData* rec = ClassByGuid(guid);
  return rec == nullptr ? Text() : rec->Name;
}

Text Context::ClassesKey(TextView path) { return u"HKEY_CLASSES_ROOT\\" + Text(path); }

Text Context::OwnClassesPath() const {
  return view == registry::RegistryView::Bits32 ? u"Software\\Classes\\Wow6432Node" : u"Software\\Classes";
}

void Context::Add(Severity severity, FindingKind kind, TextView name, TextView guid, TextView keyPath,
                  TextView reason, std::optional<TObjectType> treeKind) {
  out.push_back(Finding{severity, kind, Text(name), Text(guid), Text(keyPath), Text(reason), treeKind});
}

}  // namespace brannock::analysis::check
