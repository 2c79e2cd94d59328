// The checks of object classes: their server files, servers of machine-wide
// classes in places any user may write, TreatAs and AutoTreatAs, the AppID
// they name, ScriptletURL; and the user's own classes.
#include <algorithm>

#include "analysis/check_context.h"
#include "catalogue/catalogue_paths.h"
#include "common/text_rules.h"

namespace brannock::analysis::check {

namespace {

constexpr TextView kServerKeys[] = {u"InprocServer32", u"LocalServer32", u"InprocHandler32"};

// The class keys that only the user has, and those the user overrides.
enum class Origin { Machine, UserOnly, UserOverride };

Origin OriginOf(Context& c, TextView guid) {
  if (!c.machineKnown || !c.userKnown) return Origin::Machine;
  const Text own = c.OwnClassesPath() + u"\\CLSID\\" + Text(guid);
  if (!c.Has(RootKey::CurrentUser, own)) return Origin::Machine;
  return c.Has(RootKey::LocalMachine, own) ? Origin::UserOverride : Origin::UserOnly;
}

void CheckServer(Context& c, const TObjectData& rec, const Text& classKey, const Text& serverKey, Origin origin) {
  const Text keyPath = KeyPath(classKey, serverKey);
  const Text value = c.String(RootKey::ClassesRoot, keyPath);
  if (IsBlank(value)) return;
  const Text expanded = c.Expand(value);
  ServerFile file = FindServerFile(expanded, c.files);
  if (file.presence == Presence::Unknown) c.FileState(file.path);  // notes its drive
  if (file.presence == Presence::Missing) {
    const bool bare = file.path.find_first_of(u"\\:/") == Text::npos;
    c.Add(Severity::Error, FindingKind::Class, rec.Name, rec.GUID, Context::ClassesKey(keyPath),
          bare ? serverKey + u" " + file.path + u" is in neither " + c.files.SystemDir() + u" nor " + c.files.WindowsDir()
               : serverKey + u" " + file.path + u" does not exist",
          TObjectType::otCLSID);
  }
  if (origin == Origin::UserOnly || !c.machineKnown) return;
  // The machine's own server of a class the user overrides.
  Text machineValue = expanded;
  Text machineKey = Context::ClassesKey(keyPath);
  if (origin == Origin::UserOverride) {
    const Text own = c.OwnClassesPath() + u"\\CLSID\\" + rec.GUID + u"\\" + serverKey;
    machineValue = c.Expand(c.String(RootKey::LocalMachine, own));
    machineKey = u"HKEY_LOCAL_MACHINE\\" + own;
  }
  if (InUserWritablePlace(machineValue))
    c.Add(Severity::Warning, FindingKind::Class, rec.Name, rec.GUID, machineKey,
          u"a machine-wide class served from " + machineValue + u", a place any user may write", TObjectType::otCLSID);
}

// TreatAs or AutoTreatAs: a class it names that is not registered, or a
// chain of them that comes back to this class.
void CheckEmulation(Context& c, const TObjectData& rec, const Text& classKey, TextView keyName) {
  const Text keyPath = KeyPath(classKey, keyName);
  Text next = TrimControls(c.String(RootKey::ClassesRoot, keyPath));
  if (next.empty()) return;
  if (!c.Has(RootKey::ClassesRoot, KeyPath(u"CLSID", next))) {
    c.Add(Severity::Error, FindingKind::Class, rec.Name, rec.GUID, Context::ClassesKey(keyPath),
          Text(keyName) + u" names the class " + next + u", which is not registered", TObjectType::otCLSID);
    return;
  }
  Text chain = rec.GUID;
  for (size_t step = 0; step < kMaxChain && !next.empty(); ++step) {
    chain += u" -> " + next;
    if (EqualsNoCase(next, rec.GUID)) {
      c.Add(Severity::Error, FindingKind::Class, rec.Name, rec.GUID, Context::ClassesKey(keyPath),
            Text(keyName) + u" loops: " + chain, TObjectType::otCLSID);
      return;
    }
    next = TrimControls(c.String(RootKey::ClassesRoot, KeyPath(u"CLSID", next, keyName)));
  }
}

}  // namespace

void CheckClasses(Context& c) {
  for (const TObjectData& rec : c.catalogue.OCList) {
    const Text classKey = KeyPath(u"CLSID", rec.GUID);
    const TextList subkeys = c.Subkeys(RootKey::ClassesRoot, classKey);
    const Origin origin = OriginOf(c, rec.GUID);
    for (TextView server : kServerKeys) {
      const Text name = Context::FindName(subkeys, server);
      if (!name.empty()) CheckServer(c, rec, classKey, name, origin);
    }
    for (TextView emulation : {u"TreatAs", u"AutoTreatAs"}) {
      const Text name = Context::FindName(subkeys, emulation);
      if (!name.empty()) CheckEmulation(c, rec, classKey, name);
    }
    const Text appId = TrimControls(c.String(RootKey::ClassesRoot, classKey, u"AppID"));
    if (!appId.empty() && !c.Has(RootKey::ClassesRoot, KeyPath(u"AppID", appId)))
      c.Add(Severity::Warning, FindingKind::Class, rec.Name, rec.GUID, Context::ClassesKey(classKey),
            u"the AppID " + appId + u" it names has no key below AppID", TObjectType::otCLSID);
    const Text scriptlet = Context::FindName(subkeys, u"ScriptletURL");
    if (!scriptlet.empty())
      c.Add(Severity::Warning, FindingKind::Class, rec.Name, rec.GUID, Context::ClassesKey(KeyPath(classKey, scriptlet)),
            u"served by the scriptlet " + c.String(RootKey::ClassesRoot, KeyPath(classKey, scriptlet)),
            TObjectType::otCLSID);
  }
}

void CheckUserClasses(Context& c) {
  if (!c.machineKnown || !c.userKnown) return;
  const Text own = c.OwnClassesPath() + u"\\CLSID";
  for (const Text& guid : c.Subkeys(RootKey::CurrentUser, own)) {
    const Text userKey = u"HKEY_CURRENT_USER\\" + own + u"\\" + guid;
    const Text name = c.ClassName(guid).empty() ? guid : c.ClassName(guid);
    const std::optional<TObjectType> tree =
        c.ClassByGuid(guid) ? std::optional(TObjectType::otCLSID) : std::nullopt;
    if (c.Has(RootKey::LocalMachine, own + u"\\" + guid)) {
      c.Add(Severity::Warning, FindingKind::Class, name, guid, userKey,
            u"a per-user class overrides the machine's class of the same CLSID", tree);
      continue;
    }
    const TextList subkeys = c.Subkeys(RootKey::CurrentUser, own + u"\\" + guid);
    for (TextView server : kServerKeys) {
      const Text key = Context::FindName(subkeys, server);
      if (key.empty()) continue;
      c.Add(Severity::Note, FindingKind::Class, name, guid, userKey + u"\\" + key,
            u"a per-user-only server: " + c.String(RootKey::CurrentUser, own + u"\\" + guid + u"\\" + key), tree);
      break;
    }
  }
}

}  // namespace brannock::analysis::check
