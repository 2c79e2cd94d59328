// The checks of interfaces: the proxy/stub class and the type library they
// name.
#include "analysis/check_context.h"
#include "catalogue/catalogue_paths.h"
#include "common/typelib_version.h"

namespace brannock::analysis::check {

namespace {

// "1.0" and "1.a" as registered version keys: hexadecimal numbers.
bool SameVersion(TextView a, TextView b) {
  uint32_t am = 0, an = 0, bm = 0, bn = 0;
  return ParseTypeLibVersion(a, &am, &an) && ParseTypeLibVersion(b, &bm, &bn) && am == bm && an == bn;
}

}  // namespace

void CheckInterfaces(Context& c) {
  for (const TObjectData& rec : c.catalogue.IFList) {
    const Text interfaceKey = KeyPath(u"Interface", rec.GUID);
    const TextList subkeys = c.Subkeys(RootKey::ClassesRoot, interfaceKey);
    const Text proxy = Context::FindName(subkeys, u"ProxyStubClsid32");
    if (!proxy.empty()) {
      const Text key = KeyPath(interfaceKey, proxy);
      const Text guid = TrimControls(c.String(RootKey::ClassesRoot, key));
      if (!guid.empty() && !c.Has(RootKey::ClassesRoot, KeyPath(u"CLSID", guid)))
        c.Add(Severity::Warning, FindingKind::Interface, rec.Name, rec.GUID, Context::ClassesKey(key),
              u"its proxy/stub class " + guid + u" is not registered", TObjectType::otInterface);
    }
    const Text typeLib = Context::FindName(subkeys, u"TypeLib");
    if (typeLib.empty()) continue;
    const Text key = KeyPath(interfaceKey, typeLib);
    const Text library = TrimControls(c.String(RootKey::ClassesRoot, key));
    if (library.empty()) continue;
    if (!c.Has(RootKey::ClassesRoot, KeyPath(u"TypeLib", library))) {
      c.Add(Severity::Warning, FindingKind::Interface, rec.Name, rec.GUID, Context::ClassesKey(key),
            u"its type library " + library + u" is not registered", TObjectType::otInterface);
      continue;
    }
    const Text version = TrimControls(c.String(RootKey::ClassesRoot, key, u"Version"));
    if (version.empty()) continue;
    bool found = false;
    for (const Text& v : c.Subkeys(RootKey::ClassesRoot, KeyPath(u"TypeLib", library)))
      found = found || SameVersion(v, version);
    if (!found)
      c.Add(Severity::Warning, FindingKind::Interface, rec.Name, rec.GUID, Context::ClassesKey(key),
            u"version " + version + u" of its type library " + library + u" is not registered",
            TObjectType::otInterface);
  }
}

}  // namespace brannock::analysis::check
