// The checks of registered type libraries: every registered file exists
// (win32 files as a 32-bit program opens them); and, when asked, every
// registered version loads.
#include "analysis/check_context.h"
#include "analysis/object_typelib.h"
#include "platform/messages.h"
#include "catalogue/catalogue_paths.h"
#include "common/guid.h"
#include "common/text_rules.h"
#include "common/typelib_version.h"
#include "registry/viewed_registry.h"
#include "typelib/file_loader.h"

namespace brannock::analysis::check {

namespace {

// A locale subkey of a version: a hexadecimal number ("0", "409").
bool IsLocaleKey(TextView name) {
  if (name.empty() || name.size() > 8) return false;
  for (char16_t ch : name)
    if (!((ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F'))) return false;
  return true;
}

void CheckFile(Context& c, const TObjectData& rec, const Text& key, const Text& platform) {
  const Text path = c.String(RootKey::ClassesRoot, key);
  if (IsBlank(path)) return;
  const bool wow64 = EqualsNoCase(platform, u"win32") && c.store.MachineView() == registry::RegistryView::Bits64;
  const Text expanded = c.Expand(path);
  Presence p = c.FileState(expanded, wow64);
  if (p == Presence::Missing) {
    // A trailing \N names the library's resource in the file before it.
    const typelib::ResourceSuffix split = typelib::SplitResourceSuffix(expanded);
    if (split.resource) p = c.FileState(split.path, wow64);
  }
  if (p == Presence::Missing)
    c.Add(Severity::Error, FindingKind::TypeLibrary, rec.Name, rec.GUID, Context::ClassesKey(key),
          u"the library's file " + expanded + u" does not exist", TObjectType::otTypeLib);
}

// On one line, without the blank that leads it when the system has no
// words for the code (Wine has none for some: " (Error code: 0x...)").
Text OneLine(Text text) {
  for (char16_t& ch : text)
    if (ch == u'\n' || ch == u'\r') ch = u' ';
  return TrimControls(text);
}

}  // namespace

void CheckTypeLibraryFiles(Context& c) {
  for (const TObjectData& rec : c.catalogue.TLList) {
    const Text libraryKey = KeyPath(u"TypeLib", rec.GUID);
    for (const Text& version : c.Subkeys(RootKey::ClassesRoot, libraryKey)) {
      const Text versionKey = KeyPath(libraryKey, version);
      for (const Text& locale : c.Subkeys(RootKey::ClassesRoot, versionKey)) {
        if (!IsLocaleKey(locale)) continue;
        const Text localeKey = KeyPath(versionKey, locale);
        for (const Text& platform : c.Subkeys(RootKey::ClassesRoot, localeKey))
          if (EqualsNoCase(platform, u"win32") || EqualsNoCase(platform, u"win64"))
            CheckFile(c, rec, KeyPath(localeKey, platform), platform);
      }
    }
  }
}

void CheckLibrariesLoad(Context& c, typelib::TypeLibLoader& loader) {
  for (const TObjectData& rec : c.catalogue.TLList) {
    Guid guid;
    if (!TryTextToGuid(rec.GUID, &guid)) continue;
    const Text libraryKey = KeyPath(u"TypeLib", rec.GUID);
    for (const Text& version : c.Subkeys(RootKey::ClassesRoot, libraryKey)) {
      uint32_t major = 0, minor = 0;
      if (!ParseTypeLibVersion(version, &major, &minor)) continue;
      std::shared_ptr<typelib::TypeLib> lib;
      const HRESULT hr = loader.LoadRegTypeLib(guid, static_cast<uint16_t>(major), static_cast<uint16_t>(minor),
                                               kSystemDefaultLocale, &lib);
      if (typelib::Failed(hr))
        c.Add(Severity::Error, FindingKind::TypeLibrary, rec.Name, rec.GUID,
              Context::ClassesKey(KeyPath(libraryKey, version)),
              u"version " + version + u" does not load: " + OneLine(LoadFailureText(hr, loader)), TObjectType::otTypeLib);
    }
  }
}

}  // namespace brannock::analysis::check
