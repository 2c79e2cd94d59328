// The whole catalogue in one index: every object of the four collections
// with the registry texts through which it is found (ProgIDs, server files,
// library files, executables) and through which it refers to other objects
// (its AppID, type library, proxy/stub class, TreatAs ...). Read once, in
// the view the catalogue reads, and then asked without the registry: Find,
// References and the questions across registries build on it.
//
// Entry i of a kind is entry i of the catalogue's list of that kind when the
// index was built; the index copies what it needs, so it stays whole when
// the lists are read anew (it is then out of date, and its owner builds a
// new one).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace brannock::analysis {

// The keys of a class (CLSID\G) that name other things. Servers are
// expanded as the detail pane's Server is.
struct ClassKeys {
  Text progId;                    // ProgID
  Text versionIndependentProgId;  // VersionIndependentProgID
  Text inprocServer32;
  Text localServer32;
  Text inprocHandler32;
  Text appId;  // the named value AppID of the class key
  Text typeLib;
  Text treatAs;
  Text autoTreatAs;
};

// One registered version of a type library (TypeLib\G\V).
struct TypeLibVersionKeys {
  Text version;  // the key's name, "1.0"
  uint32_t major = 0, minor = 0;
  bool parsed = false;  // the name reads as two hexadecimal numbers
  Text name;
  // The files registered below it (TypeLib\G\V\LCID\win32 and the like),
  // in enumeration order.
  TextList files;
};

struct TypeLibKeys {
  std::vector<TypeLibVersionKeys> versions;
};

struct AppIdKeys {
  Text appId;  // an executable's entry (AppID\x.exe): the AppID it names
  Text localService;
};

// Interface\G.
struct InterfaceKeys {
  Text proxyStubClsid32;
  Text proxyStubClsid;
  Text typeLib;
  Text typeLibVersion;  // the Version value of its TypeLib key
  Text baseInterface;
};

template <class Keys>
struct IndexedObject {
  Text name;  // as listed
  Text guid;  // the subkey name, as listed
  Keys keys;
};

class RegistrationIndex {
 public:
  // Reads the catalogue's lists that are still empty (into the catalogue,
  // where the object tree finds them), then the keys of every listed
  // object. A registry error of a list builder goes to the caller, as it
  // does when the tree reads the list; values that are no text are left
  // out of the index.
  explicit RegistrationIndex(Catalogue& catalogue);

  std::vector<IndexedObject<ClassKeys>> classes;
  std::vector<IndexedObject<TypeLibKeys>> typeLibs;
  std::vector<IndexedObject<AppIdKeys>> appIds;
  std::vector<IndexedObject<InterfaceKeys>> interfaces;

  size_t Count(TObjectType typ) const;
  const Text& Name(TObjectType typ, uint32_t index) const;
  const Text& Guid(TObjectType typ, uint32_t index) const;

  // The entry of that kind whose subkey name is `guid` (letters compared
  // without regard to case, braces as given); nothing when there is none.
  std::optional<uint32_t> Find(TObjectType typ, TextView guid) const;

 private:
  // Per kind, the entries ordered by their GUIDs (upper-cased), for Find.
  std::vector<uint32_t> byGuid_[4];
};

// The hexadecimal digits of a GUID text, upper-cased, braces and dashes
// left out ("{b4a2-..}" gives "B4A2..."); nothing when anything else is in
// it.
std::optional<std::string> GuidDigits(TextView text);

}  // namespace brannock::analysis
