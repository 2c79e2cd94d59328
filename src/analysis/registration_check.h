// The registration check: what is broken, shadowed or risky among the
// registrations of a registry, one finding each (analysis/finding.h).
//
// Object classes: a server file (InprocServer32, LocalServer32,
// InprocHandler32) that does not exist; a machine-wide class served from a
// place any user may write; a per-user class that overrides the machine's
// class of the same CLSID, and a per-user-only server (a note); TreatAs and
// AutoTreatAs to a class that is not registered, or in a loop; an AppID
// value naming no AppID key; ScriptletURL. ProgIDs: a class that is not
// registered or does not name the ProgID back; a CurVer that loops or names
// nothing. Interfaces: a proxy/stub class, a type library or a version of
// it that is not registered. Type libraries: a registered file that does
// not exist and, when asked, a version that does not load. AppIDs and the
// machine: permission values that are damaged security descriptors.
//
// Where a source lacks what a check needs (drives for the files, the
// machine/user split and the COM settings for an export of
// HKEY_CLASSES_ROOT), one note says that the check was not made.
#pragma once

#include "analysis/finding.h"
#include "analysis/machine_files.h"
#include "catalogue/catalogue.h"
#include "typelib/access.h"

namespace brannock::analysis {

struct CheckOptions {
  // Open every registered type library version; otherwise no library is
  // read, only the existence of its files is checked.
  bool libraries = false;
};

// Checks the registry of `catalogue` (HKEY_CLASSES_ROOT in one view; the
// catalogue's lists are read when empty). `store` is the whole registry,
// for the machine's and the user's own keys. `loader` opens the libraries
// when `options.libraries` asks for it. Errors first, then warnings, then
// notes.
Findings CheckRegistrations(Catalogue& catalogue, registry::RegistryBackend& store, registry::RegistryView view,
                            MachineFiles& files, const CheckOptions& options, typelib::TypeLibLoader* loader);

}  // namespace brannock::analysis
