// Reader of offline registry hives (REGF files) through hivex. Two kinds of
// hive are told apart by their root: a whole SOFTWARE hive has a "Classes"
// key there and becomes HKEY_LOCAL_MACHINE\Software; any other hive holds the
// content of a classes key (CLSID, TypeLib, ... at its root, as
// `reg save HKLM\Software\Classes file.hiv` writes it) and becomes
// HKEY_LOCAL_MACHINE\Software\Classes. HKEY_CLASSES_ROOT is then composed
// from it (classes_root.h).
#pragma once

#include <filesystem>

#include "registry/memory_store.h"

namespace brannock::registry {

// Whether this build can read hives (hivex was found).
bool HiveSupported();

// Loads the hive file into the store. Raises RegistryParseError naming the
// file when hivex cannot open or read it.
void LoadHive(const std::filesystem::path& file, MemoryStore& store);

}  // namespace brannock::registry
