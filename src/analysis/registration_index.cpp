#include "analysis/registration_index.h"

#include <algorithm>

#include "catalogue/catalogue_paths.h"
#include "catalogue/object_kinds.h"
#include "common/ascii.h"
#include "common/typelib_version.h"
#include "platform/environment_list.h"
#include "registry/registry_reader.h"

namespace brannock::analysis {

namespace {

using registry::RegistryReader;

// Reads the keys of the objects through one process-view reader, as the
// detail resolution does, in the catalogue's view.
class KeyTexts {
 public:
  explicit KeyTexts(Catalogue& catalogue)
      : catalogue_(catalogue),
        reader_(RegistryReader::ProcessView(catalogue.Backend())),
        environment_(catalogue.Backend().WindowsEnvironment()) {}

  // The subkey names of a key; false when it does not open.
  bool Subkeys(TextView path, TextList& names) {
    if (!reader_.OpenKeyReadOnly(path)) return false;
    reader_.GetKeyNames(names);
    return true;
  }

  // A string value of the key last opened by Subkeys or Open: REG_SZ up to
  // its first NUL, REG_EXPAND_SZ expanded in the registry's environment;
  // empty for a missing value or one of another type.
  Text Value(TextView name) {
    uint32_t type = 0;
    registry::Bytes data;
    if (!reader_.GetData(name, &type, &data)) return Text();
    if (type == registry::RegType::Sz) return registry::TextUpToNul(data);
    if (type == registry::RegType::ExpandSz)
      return platform::ExpandWithEntries(registry::TextUpToNul(data), environment_);
    return Text();
  }

  // Opens a key for Value; false when it does not open.
  bool Open(TextView path) { return reader_.OpenKeyReadOnly(path); }

  // The default value of a key.
  Text Default(TextView path) { return Open(path) ? Value(u"") : Text(); }

  // A server path as the detail resolution expands it.
  Text Server(TextView path) { return ExpandEnvVars(catalogue_.Environment, Default(path)); }

 private:
  Catalogue& catalogue_;
  RegistryReader reader_;
  TextList environment_;
};

// Calls `read(name)` for each subkey whose name, without regard to case, is
// one of `wanted`, with its position there.
template <size_t N, class Read>
void ForWantedSubkeys(const TextList& subkeys, const char16_t* const (&wanted)[N], Read read) {
  for (const Text& name : subkeys)
    for (size_t i = 0; i < N; ++i)
      if (EqualsNoCase(name, wanted[i])) read(i, name);
}

ClassKeys ReadClass(KeyTexts& keys, const Text& G) {
  ClassKeys c;
  const Text key = KeyPath(u"CLSID", G);
  TextList subkeys;
  if (!keys.Subkeys(key, subkeys)) return c;
  c.appId = keys.Value(u"AppID");
  static constexpr const char16_t* kWanted[] = {u"ProgID",  u"VersionIndependentProgID", u"InprocServer32",
                                                u"LocalServer32", u"InprocHandler32", u"TypeLib",
                                                u"TreatAs", u"AutoTreatAs"};
  Text* const fields[] = {&c.progId, &c.versionIndependentProgId, &c.inprocServer32, &c.localServer32,
                          &c.inprocHandler32, &c.typeLib, &c.treatAs, &c.autoTreatAs};
  ForWantedSubkeys(subkeys, kWanted, [&](size_t i, const Text& name) {
    const Text path = KeyPath(key, name);
    // The three server keys (2 to 4) are expanded as the pane's Server is.
    *fields[i] = i >= 2 && i <= 4 ? keys.Server(path) : keys.Default(path);
  });
  return c;
}

TypeLibKeys ReadTypeLib(KeyTexts& keys, const Text& G) {
  TypeLibKeys t;
  const Text key = KeyPath(u"TypeLib", G);
  TextList versions, locales, platforms;
  if (!keys.Subkeys(key, versions)) return t;
  for (const Text& V : versions) {
    TypeLibVersionKeys v;
    v.version = V;
    v.parsed = ParseTypeLibVersion(V, &v.major, &v.minor);
    const Text versionKey = KeyPath(key, V);
    if (!keys.Subkeys(versionKey, locales)) continue;
    v.name = keys.Value(u"");
    for (const Text& lcid : locales) {
      // FLAGS and HELPDIR sit beside the locales; a locale is a number.
      if (EqualsNoCase(lcid, u"FLAGS") || EqualsNoCase(lcid, u"HELPDIR")) continue;
      if (!keys.Subkeys(KeyPath(versionKey, lcid), platforms)) continue;
      for (const Text& platform : platforms) {
        Text file = keys.Default(KeyPath(versionKey, lcid, platform));
        if (!file.empty()) v.files.push_back(std::move(file));
      }
    }
    t.versions.push_back(std::move(v));
  }
  return t;
}

AppIdKeys ReadAppId(KeyTexts& keys, const Text& G) {
  AppIdKeys a;
  if (!keys.Open(KeyPath(u"AppID", G))) return a;
  a.appId = keys.Value(u"AppID");
  a.localService = keys.Value(u"LocalService");
  return a;
}

InterfaceKeys ReadInterface(KeyTexts& keys, const Text& G) {
  InterfaceKeys f;
  const Text key = KeyPath(u"Interface", G);
  TextList subkeys;
  if (!keys.Subkeys(key, subkeys)) return f;
  static constexpr const char16_t* kWanted[] = {u"ProxyStubClsid32", u"ProxyStubClsid", u"TypeLib",
                                                u"BaseInterface"};
  ForWantedSubkeys(subkeys, kWanted, [&](size_t i, const Text& name) {
    const Text path = KeyPath(key, name);
    switch (i) {
      case 0: f.proxyStubClsid32 = keys.Default(path); break;
      case 1: f.proxyStubClsid = keys.Default(path); break;
      case 2:
        if (keys.Open(path)) {
          f.typeLib = keys.Value(u"");
          f.typeLibVersion = keys.Value(u"Version");
        }
        break;
      default: f.baseInterface = keys.Default(path); break;
    }
  });
  return f;
}

template <class Keys, class Read>
void IndexList(const TObjects& list, std::vector<IndexedObject<Keys>>& out, KeyTexts& keys, Read read) {
  out.clear();
  out.reserve(list.size());
  for (const TObjectData& rec : list) out.push_back({rec.Name, rec.GUID, read(keys, rec.GUID)});
}

template <class Keys>
void SortByGuid(const std::vector<IndexedObject<Keys>>& objects, std::vector<uint32_t>& order) {
  order.resize(objects.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return CompareNoCase(objects[a].guid, objects[b].guid) < 0; });
}

template <class Keys>
std::optional<uint32_t> FindByGuid(const std::vector<IndexedObject<Keys>>& objects,
                                   const std::vector<uint32_t>& order, TextView guid) {
  auto it = std::lower_bound(order.begin(), order.end(), guid, [&](uint32_t i, TextView g) {
    return CompareNoCase(objects[i].guid, g) < 0;
  });
  if (it == order.end() || !EqualsNoCase(objects[*it].guid, guid)) return std::nullopt;
  return *it;
}

template <class Result, class Fn>
Result ByKind(const RegistrationIndex& index, TObjectType typ, Fn fn) {
  switch (typ) {
    case TObjectType::otCLSID: return fn(index.classes);
    case TObjectType::otTypeLib: return fn(index.typeLibs);
    case TObjectType::otAppID: return fn(index.appIds);
    case TObjectType::otInterface: break;
  }
  return fn(index.interfaces);
}

}  // namespace

RegistrationIndex::RegistrationIndex(Catalogue& catalogue) {
  for (const ObjectKind& kind : kObjectKinds)
    if (catalogue.List(kind.typ).empty()) catalogue.ReadList(kind.typ);
  KeyTexts keys(catalogue);
  IndexList(catalogue.OCList, classes, keys, ReadClass);
  IndexList(catalogue.TLList, typeLibs, keys, ReadTypeLib);
  IndexList(catalogue.AIList, appIds, keys, ReadAppId);
  IndexList(catalogue.IFList, interfaces, keys, ReadInterface);
  SortByGuid(classes, byGuid_[0]);
  SortByGuid(typeLibs, byGuid_[1]);
  SortByGuid(appIds, byGuid_[2]);
  SortByGuid(interfaces, byGuid_[3]);
}

size_t RegistrationIndex::Count(TObjectType typ) const {
  return ByKind<size_t>(*this, typ, [](const auto& v) { return v.size(); });
}

const Text& RegistrationIndex::Name(TObjectType typ, uint32_t index) const {
  return ByKind<const Text&>(*this, typ, [&](const auto& v) -> const Text& { return v[index].name; });
}

const Text& RegistrationIndex::Guid(TObjectType typ, uint32_t index) const {
  return ByKind<const Text&>(*this, typ, [&](const auto& v) -> const Text& { return v[index].guid; });
}

std::optional<uint32_t> RegistrationIndex::Find(TObjectType typ, TextView guid) const {
  const std::vector<uint32_t>& order = byGuid_[static_cast<size_t>(typ)];
  return ByKind<std::optional<uint32_t>>(*this, typ, [&](const auto& v) { return FindByGuid(v, order, guid); });
}

std::optional<std::string> GuidDigits(TextView text) {
  std::string digits;
  digits.reserve(32);
  for (char16_t c : text) {
    if (c == u'{' || c == u'}' || c == u'-') continue;
    if (HexDigitValue(c) < 0) return std::nullopt;
    digits.push_back(static_cast<char>(UpperAscii(c)));
  }
  return digits;
}

}  // namespace brannock::analysis
