// Writer of registry export files: keys of a MemoryStore with everything
// below them, as "Windows Registry Editor Version 5.00" text in UTF-16LE with a
// byte order mark and CRLF line ends, the way regedit writes it. The Linux
// build keeps its window settings (HKEY_CURRENT_USER\Software\Velkar\...) in
// such a file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "registry/memory_store.h"

namespace brannock::registry {

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS".
Text RootKeyName(RootKey root);

struct ExportKey {
  RootKey root;
  Text path;
};

// The export text of each key and its subtree, one after the other under one
// header (keys in enumeration order, each key's values in stored order, key
// names as the store spells them). A missing key is left out; with none
// there is the header alone.
Text RegFileText(const MemoryStore& store, const std::vector<ExportKey>& keys);
Text RegFileText(const MemoryStore& store, RootKey root, TextView path);

// The same text as file bytes (UTF-16LE with byte order mark).
std::string RegFileBytes(const MemoryStore& store, const std::vector<ExportKey>& keys);
std::string RegFileBytes(const MemoryStore& store, RootKey root, TextView path);

// Writes the export to `file` completely or not at all
// (platform::WriteFileAtomically, whose FileError names the file when it
// cannot be written).
void SaveRegFile(const std::filesystem::path& file, const MemoryStore& store, const std::vector<ExportKey>& keys);
void SaveRegFile(const std::filesystem::path& file, const MemoryStore& store, RootKey root, TextView path);

}  // namespace brannock::registry
