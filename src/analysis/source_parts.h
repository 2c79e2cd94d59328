// Which parts of a machine's registry a source holds. A Wine prefix, the
// live registry or a SOFTWARE hive hold the machine's software key beside
// its classes; an export of HKEY_CLASSES_ROOT holds the classes alone, with
// the machine's and the user's laid together, and no COM settings.
#pragma once

#include "registry/registry_backend.h"

namespace brannock::analysis {

// HKEY_LOCAL_MACHINE\Software (or HKEY_CURRENT_USER\Software) with more in
// it than Classes (and Wow6432Node).
bool HoldsSoftwareKey(registry::RegistryBackend& store, registry::RootKey root);

// A string value below a root; empty when the key or the value is missing
// or the value is not a string.
Text StringValueOrEmpty(registry::RegistryBackend& backend, registry::RootKey root, TextView path, TextView name);

}  // namespace brannock::analysis
