// The snapshot: the COM part of a registry as it is stored, written as one
// registry export file that every view and every question can be put to
// later (the file is itself a source for --registry):
//
//   HKEY_LOCAL_MACHINE\Software\Classes   the machine's classes, whole, with
//                                         the 32-bit ones below Wow6432Node
//   HKEY_CURRENT_USER\Software\Classes    the user's, whole
//   HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Ole   the machine's COM defaults
//
// What each kind of source gives:
//   - the live registry: the three keys as advapi32 reads them in the 64-bit
//     view (Wow6432Node is then an ordinary subkey);
//   - a Wine prefix: the machine's keys from system.reg, the user's from
//     user.reg, Wine's link keys as they are stored (with their REG_LINK
//     value);
//   - a .reg export: the keys it names below HKEY_LOCAL_MACHINE and
//     HKEY_CURRENT_USER; keys it names below HKEY_CLASSES_ROOT (regedit's
//     export of the merged view) cannot be told apart and are written as the
//     machine's classes, below those it names there; an export of
//     HKEY_CLASSES_ROOT has no Ole key;
//   - a hive: a classes hive is the machine's classes; a SOFTWARE hive gives
//     the machine's classes and its Ole key; a hive has no user part;
//   - the demo registry: its classes, as the machine's.
// A key the source does not have is left out. Read back, a snapshot
// composes the same HKEY_CLASSES_ROOT as its source in either view.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "registry/reg_file_writer.h"
#include "registry/registry_source.h"

namespace brannock::registry {

// The three keys, in the order the snapshot writes them.
std::vector<ExportKey> SnapshotKeys();

// Lays a store read as stored (MemoryStore::SetKeepsStoredLayout) out as
// the snapshot has it: keys below HKEY_CLASSES_ROOT and the machine's
// classes below Software\Wow6432Node\Classes laid over the machine's
// classes, as composing HKEY_CLASSES_ROOT lays them.
void ToSnapshotLayout(MemoryStore& store);

// The snapshot's keys of a source, each where the source stores it (see
// above). Raises RegistryParseError when a file of the source cannot be
// read again.
std::unique_ptr<MemoryStore> ReadSnapshot(const RegistrySource& source);

// Writes the snapshot of a source as a "Windows Registry Editor Version
// 5.00" file in UTF-16LE, completely or not at all.
void SaveSnapshot(const std::filesystem::path& file, const RegistrySource& source);

}  // namespace brannock::registry
