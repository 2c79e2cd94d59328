// HKEY_CLASSES_ROOT as Windows composes it: HKEY_LOCAL_MACHINE\Software\Classes
// with HKEY_CURRENT_USER\Software\Classes laid over it. Subkeys are the union
// of both; for a value present in both, the user's wins.
#pragma once

#include "registry/memory_store.h"

namespace brannock::registry {

// Builds the ClassesRoot of a parsed store. Layers, lowest first:
//   1. HKEY_LOCAL_MACHINE\Software\Classes, moved (not copied: it is the
//      bulk of a registry), so that key is left empty;
//   2. keys the source gave directly under HKEY_CLASSES_ROOT;
//   3. HKEY_CURRENT_USER\Software\Classes, copied (it stays in place too).
// Before that, the subkeys of HKEY_LOCAL_MACHINE\Software\Wow6432Node\Classes
// (the other name Windows gives the machine's 32-bit classes) are moved into
// HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node. Both views are then in
// the one tree: see classes_view.h for the 32-bit one.
void BuildClassesRoot(MemoryStore& store);

// Lays `top` over `base`: subkeys merged recursively, values of `top`
// replacing those of the same name. OverlayMove empties `top`.
void OverlayMove(MemoryStore::Node& base, MemoryStore::Node& top);
void OverlayCopy(MemoryStore::Node& base, const MemoryStore::Node& top);

}  // namespace brannock::registry
