// References: for one object of the catalogue, the objects it refers to and
// those that refer to it, each with the relation that joins them:
// - a class: its ProgIDs, AppID, type library, TreatAs and AutoTreatAs
//   targets and the classes that treat as it, the interfaces its coclass
//   implements (marked [default] and [source]), the interfaces whose
//   proxy/stub it is, and the other classes served by the same file;
// - an interface: its proxy/stub classes, its type library, its base
//   interface (the registry's BaseInterface and the libraries'
//   declaration), the interfaces derived from it, every coclass of any
//   registered library that implements it, and the libraries that declare
//   it;
// - a type library: the classes and interfaces registered with it and the
//   registered classes and interfaces it declares;
// - an AppID: its classes and the executables mapped to it (and, for an
//   executable's entry, the AppID it names).
// A reference whose target is not in the catalogue is listed and marked
// missing.
#pragma once

#include <optional>
#include <vector>

#include "analysis/library_scan.h"
#include "analysis/registration_index.h"
#include "registry/registry_backend.h"

namespace brannock::analysis {

// The catalogue's kinds, and the ProgIDs, which are no catalogue object.
enum class TargetKind : uint8_t { CLSID, TypeLib, AppID, Interface, ProgID };

// "CLSID", "TypeLib", "AppID", "Interface" (the category keys), "ProgID".
const char16_t* TargetKindName(TargetKind kind);
TargetKind TargetKindOf(TObjectType typ);
// The catalogue kind of a target; nothing for a ProgID.
std::optional<TObjectType> ObjectTypeOf(TargetKind kind);

struct Reference {
  Text relation;  // "TypeLib", "implemented by [default]", ...
  TargetKind kind = TargetKind::CLSID;
  Text name;
  Text guid;  // a ProgID's: the class its key names
  bool missing = false;
  // The target's entry in the index (and the catalogue's list), to go
  // there; nothing for a missing target and for a ProgID.
  std::optional<uint32_t> index;

  bool operator==(const Reference&) const = default;
};

struct References {
  std::vector<Reference> lines;
  // What the lines may lack: libraries that were not read or did not load.
  TextList notes;
};

// Whether the references of this kind come partly from the type libraries.
bool NeedsLibraries(TObjectType typ);

// The references of entry `index` of kind `typ`. `registry` (the
// catalogue's, in its view) tells which ProgIDs have a key; `libraries` is
// the scan of the registered libraries, null when they were not read.
References FindReferences(const RegistrationIndex& index, registry::RegistryBackend& registry,
                          const LibraryScan* libraries, TObjectType typ, uint32_t entry);

// The file of a server entry: the text between quotes when it starts with
// one, else up to the end of a ".exe" followed by a blank (the arguments of
// a LocalServer32), else the whole text; blanks at both ends left out.
Text ServerFilePath(TextView server);

}  // namespace brannock::analysis
