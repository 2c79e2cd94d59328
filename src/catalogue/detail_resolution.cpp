// Detail resolution: fills the detail fields of one catalogue record from
// the registry, in place, when its object is selected.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_paths.h"
#include "common/text_rules.h"
#include "common/typelib_version.h"
#include "registry/registry_error.h"
#include "registry/registry_reader.h"
#include "registry/value_text.h"

namespace brannock {

using registry::RegistryReader;
using registry::RootKey;

namespace {

// The default value (or the named value) of a key below HKEY_CLASSES_ROOT
// as display text, binary data in hex.
Text ValueText(registry::RegistryBackend& backend, TextView keyPath, TextView valueName = u"") {
  return registry::GetRegValueText(backend, RootKey::ClassesRoot, keyPath, valueName, true);
}

// The subkey names of a key read through a process-view reader; none when
// the key does not open.
bool ProcessViewSubkeys(registry::RegistryBackend& backend, TextView keyPath, TextList& names) {
  RegistryReader reader = RegistryReader::ProcessView(backend);
  if (!reader.OpenKeyReadOnly(keyPath)) return false;
  reader.GetKeyNames(names);
  reader.CloseKey();
  return true;
}

}  // namespace

void Catalogue::ResolveObjectClass(const Text& G, TObjectData& rec) {
  rec.CLSID = G;
  const Text classKey = KeyPath(u"CLSID", G);

  // Server search: the first subkey, in enumeration order, whose name
  // contains SERVER (InprocServer32, LocalServer32, ...; not
  // InprocHandler32). Registry errors here reach the caller.
  TextList subkeys;
  registry::GetRegKeyNames(*backend_, RootKey::ClassesRoot, classKey, subkeys);
  for (const Text& N : subkeys) {
    if (!Contains(UpperAscii(N), u"SERVER")) continue;
    rec.Server = ExpandEnvVars(Environment, ValueText(*backend_, KeyPath(classKey, N)));
    break;
  }

  // The later reads stop silently at the first registry error; the fields
  // after it keep their values.
  try {
    rec.AppId = ValueText(*backend_, classKey, u"AppID");
    rec.TypeLib = ValueText(*backend_, KeyPath(classKey, u"TypeLib"));
    ParseVersion(ValueText(*backend_, KeyPath(classKey, u"Version")), &rec.MajorVersion, &rec.MinorVersion);
    rec.ProgId = ValueText(*backend_, KeyPath(classKey, u"ProgID"));
    rec.Bitmap = ValueText(*backend_, KeyPath(classKey, u"ToolBoxBitmap32"));
    rec.DefaultIcon = ValueText(*backend_, KeyPath(classKey, u"DefaultIcon"));
  } catch (const registry::RegistryError&) {
  }
}

void Catalogue::ResolveTypeLibrary(const Text& G, TObjectData& rec) {
  rec.TypeLib = G;
  rec.CLSID = G;
  const Text libraryKey = KeyPath(u"TypeLib", G);
  TextList versions;
  if (!ProcessViewSubkeys(*backend_, libraryKey, versions) || versions.empty()) return;
  // The 32-bit file registered for locale 0 of the first version.
  rec.Server = ValueText(*backend_, KeyPath(libraryKey, versions.front(), u"0", u"win32"));
}

void Catalogue::ResolveAppID(const Text&, TObjectData&) {
  // An application ID record stays as its list builder made it.
}

void Catalogue::ResolveInterface(const Text& G, TObjectData& rec) {
  const Text interfaceKey = KeyPath(u"Interface", G);
  TextList subkeys;
  if (!ProcessViewSubkeys(*backend_, interfaceKey, subkeys)) return;
  // Every matching subkey is read; a later match overwrites an earlier one.
  for (const Text& N : subkeys) {
    const Text U = UpperAscii(N);
    const Text subkey = KeyPath(interfaceKey, N);
    if (Contains(U, u"TYPELIB")) {
      rec.TypeLib = ValueText(*backend_, subkey);
      // Written by the type library registration, in hexadecimal.
      ParseTypeLibVersion(ValueText(*backend_, subkey, u"Version"), &rec.MajorVersion, &rec.MinorVersion);
    } else if (Contains(U, u"CLSID")) {
      rec.CLSID = ValueText(*backend_, subkey);
    }
  }
}

}  // namespace brannock
