// Copying a key with everything below it from any back end (the live
// registry included) into a memory store: the snapshot reads the live
// registry so before it writes it.
#pragma once

#include "registry/memory_store.h"

namespace brannock::registry {

// Copies root\path of `from`, opened with `access` (which carries the view
// flag), into the same place of `into`: every key below it with its values,
// their types and bytes, in enumeration order. The copied keys are spelled
// as `from` enumerates them. Keys deeper than kMaxKeyDepth levels below the
// root, and keys that do not open (refused access), are left out. False when
// root\path itself does not open.
bool CopyKeyTree(RegistryBackend& from, RootKey root, TextView path, uint32_t access, MemoryStore& into);

}  // namespace brannock::registry
