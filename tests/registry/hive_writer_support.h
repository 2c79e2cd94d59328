// Writes real REGF hives for the hive reader tests. Wine cannot produce
// REGF files (its RegSaveKey writes Wine's text format and its reg.exe has no
// "save"), so the tests build them: an empty hive is laid out here byte by
// byte after the published REGF layout, and hivex's own writer fills it.
#pragma once

#include <cstddef>
#include <filesystem>

#include "registry/memory_store.h"

namespace brannock::testing {

// Writes `root` (its values and subtree) as the root key of a new hive.
// Below each key at most `maxChildren` subkeys are written (in enumeration
// order), to keep large trees quick. Returns the number of keys written.
size_t WriteHive(const registry::MemoryStore::Node& root, const std::filesystem::path& file,
                 size_t maxChildren = static_cast<size_t>(-1));

}  // namespace brannock::testing
