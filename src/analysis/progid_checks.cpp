// The checks of ProgIDs: the keys directly below HKEY_CLASSES_ROOT that name
// a class or a current version.
#include "analysis/check_context.h"
#include "catalogue/catalogue_paths.h"

namespace brannock::analysis::check {

namespace {

// Keys directly below HKEY_CLASSES_ROOT that hold no ProgID.
bool IsProgIdCandidate(TextView name) {
  if (name.empty() || name.front() == u'.' || name.front() == u'*') return false;
  for (TextView category : {u"CLSID", u"Interface", u"TypeLib", u"AppID", u"Wow6432Node"})
    if (EqualsNoCase(name, category)) return false;
  return true;
}

void CheckClassOfProgId(Context& c, const Text& progId, const Text& clsidKey) {
  const Text guid = TrimControls(c.String(RootKey::ClassesRoot, clsidKey));
  if (guid.empty()) return;
  const Text key = Context::ClassesKey(clsidKey);
  if (!c.Has(RootKey::ClassesRoot, KeyPath(u"CLSID", guid))) {
    c.Add(Severity::Error, FindingKind::ProgID, progId, guid, key, u"names the class " + guid + u", which is not registered");
    return;
  }
  const Text named = TrimControls(c.String(RootKey::ClassesRoot, KeyPath(u"CLSID", guid, u"ProgID")));
  const Text independent =
      TrimControls(c.String(RootKey::ClassesRoot, KeyPath(u"CLSID", guid, u"VersionIndependentProgID")));
  if (EqualsNoCase(named, progId) || EqualsNoCase(independent, progId)) return;
  const Text names = named.empty() && independent.empty() ? Text(u"no ProgID")
                     : named.empty()                        ? u"the ProgID " + independent
                                                            : u"the ProgID " + named;
  c.Add(Severity::Warning, FindingKind::ProgID, progId, guid, key,
        u"its class does not name it back (the class names " + names + u")", TObjectType::otCLSID);
}

void CheckCurVer(Context& c, const Text& progId, const Text& curVerKey) {
  Text next = TrimControls(c.String(RootKey::ClassesRoot, curVerKey));
  if (next.empty()) return;
  const Text key = Context::ClassesKey(curVerKey);
  if (!c.Has(RootKey::ClassesRoot, next)) {
    c.Add(Severity::Error, FindingKind::ProgID, progId, u"", key, u"CurVer names " + next + u", which is not registered");
    return;
  }
  Text chain = progId;
  for (size_t step = 0; step < kMaxChain && !next.empty(); ++step) {
    chain += u" -> " + next;
    if (EqualsNoCase(next, progId)) {
      c.Add(Severity::Error, FindingKind::ProgID, progId, u"", key, u"CurVer loops: " + chain);
      return;
    }
    next = TrimControls(c.String(RootKey::ClassesRoot, KeyPath(next, u"CurVer")));
  }
}

}  // namespace

void CheckProgIds(Context& c) {
  for (const Text& name : c.Subkeys(RootKey::ClassesRoot, u"")) {
    if (!IsProgIdCandidate(name)) continue;
    const TextList subkeys = c.Subkeys(RootKey::ClassesRoot, name);
    const Text clsid = Context::FindName(subkeys, u"CLSID");
    if (!clsid.empty()) CheckClassOfProgId(c, name, KeyPath(name, clsid));
    const Text curVer = Context::FindName(subkeys, u"CurVer");
    if (!curVer.empty()) CheckCurVer(c, name, KeyPath(name, curVer));
  }
}

}  // namespace brannock::analysis::check
