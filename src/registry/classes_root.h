// HKEY_CLASSES_ROOT as Windows composes it: HKEY_LOCAL_MACHINE\Software\Classes
// with HKEY_CURRENT_USER\Software\Classes laid over it. Subkeys are the union
// of both; for a value present in both, the user's wins.
#pragma once

#include "registry/memory_store.h"

namespace brannock::registry {

// Builds the ClassesRoot of a parsed store. Layers, lowest first:
//   1. HKEY_LOCAL_MACHINE\Software\Classes, moved (not copied: it is the
//      bulk of a registry);
//   2. keys the source gave directly under HKEY_CLASSES_ROOT;
//   3. HKEY_CURRENT_USER\Software\Classes, copied (it stays in place too).
// HKEY_LOCAL_MACHINE\Software\Classes is then left holding only the
// machine's own versions of what layer 3 overrides: of each registration
// (CLSID\{...}, and the same below Interface, TypeLib, AppID and
// Wow6432Node) and each other key (a ProgID) that both layers 1 or 2 and
// layer 3 have. So a key of the user's classes is also the machine's
// exactly when HKEY_LOCAL_MACHINE\Software\Classes has it, as on Windows.
// Before that, the subkeys of HKEY_LOCAL_MACHINE\Software\Wow6432Node\Classes
// (the other name Windows gives the machine's 32-bit classes) are moved into
// HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node. Both views are then in
// the one tree: see classes_view.h for the 32-bit one.
// A store that keeps its stored layout (MemoryStore::SetKeepsStoredLayout)
// is left as it is.
void BuildClassesRoot(MemoryStore& store);

// Moves the subkeys of HKEY_LOCAL_MACHINE\Software\Wow6432Node\Classes into
// HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node (the first step above).
void MoveMachineWow64Classes(MemoryStore& store);

// Lays `top` over `base`: subkeys merged recursively, values of `top`
// replacing those of the same name. OverlayMove empties `top`.
void OverlayMove(MemoryStore::Node& base, MemoryStore::Node& top);
void OverlayCopy(MemoryStore::Node& base, const MemoryStore::Node& top);

}  // namespace brannock::registry
