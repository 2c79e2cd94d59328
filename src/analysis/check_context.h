// What the parts of the registration check share: the registry as the
// check reads it, the machine's files, the classes by GUID, and the list of
// findings they add to. Used only by the check's own files.
#pragma once

#include <map>
#include <optional>

#include "analysis/finding.h"
#include "analysis/machine_files.h"
#include "catalogue/catalogue.h"
#include "registry/registry_backend.h"
#include "typelib/access.h"

namespace brannock::analysis::check {

using registry::RootKey;

// How many CurVer, TreatAs or AutoTreatAs links a check follows before it
// stops (a chain that long is not looked at further).
constexpr size_t kMaxChain = 64;

class Context {
 public:
  Context(Catalogue& catalogue, registry::RegistryBackend& store, registry::RegistryView view, MachineFiles& files,
          Findings& out);

  Catalogue& catalogue;
  // HKEY_CLASSES_ROOT in the view checked (the catalogue's registry).
  registry::RegistryBackend& classes;
  // The whole registry: the machine's and the user's own class keys.
  registry::RegistryBackend& store;
  registry::RegistryView view;
  MachineFiles& files;

  // Whether the source is a whole machine: its classes can be told apart
  // from the user's (HKEY_LOCAL_MACHINE\Software has more than Classes).
  bool machineKnown = false;
  // Whether the source has the user's own keys (HKEY_CURRENT_USER\Software).
  bool userKnown = false;
  // Drive roots of files that could not be checked ("D:").
  TextList unmappedRoots;

  // Values and keys; a value that is not a string reads as empty. Paths
  // below HKEY_CLASSES_ROOT are read in the view; below the other roots as
  // written.
  Text String(RootKey root, TextView path, TextView name = u"");
  bool Has(RootKey root, TextView path);
  TextList Subkeys(RootKey root, TextView path);
  // The subkey of `parent` named `name` in any letter case, as the
  // registry spells it; empty when there is none.
  static Text FindName(const TextList& names, TextView name);

  // %NAME% references expanded with the source machine's environment.
  Text Expand(TextView text) const;
  // The file's presence; a path on a drive that is not mapped is noted.
  Presence FileState(TextView path, bool wow64Files = false);

  // The classes' names by upper-cased GUID (from the catalogue's list).
  const TObjectData* ClassByGuid(TextView guid) const;
  Text ClassName(TextView guid) const;

  // "HKEY_CLASSES_ROOT\" and the path.
  static Text ClassesKey(TextView path);
  // Where the user's (HKEY_CURRENT_USER) and the machine's
  // (HKEY_LOCAL_MACHINE) own classes are in this view: "Software\Classes",
  // in the 32-bit view "Software\Classes\Wow6432Node".
  Text OwnClassesPath() const;

  void Add(Severity severity, FindingKind kind, TextView name, TextView guid, TextView keyPath, TextView reason,
           std::optional<TObjectType> treeKind = std::nullopt);
  Findings& out;

 private:
  std::map<Text, const TObjectData*> classByGuid_;
  TextList environment_;
};

void CheckClasses(Context& c);
void CheckUserClasses(Context& c);
void CheckProgIds(Context& c);
void CheckInterfaces(Context& c);
void CheckTypeLibraryFiles(Context& c);
void CheckLibrariesLoad(Context& c, typelib::TypeLibLoader& loader);
void CheckPermissionValues(Context& c);

}  // namespace brannock::analysis::check
