// Reader of registry export files (.reg): "REGEDIT4" and "Windows Registry
// Editor Version 5.00", in UTF-16LE (with byte order mark, as regedit writes
// them), UTF-16BE, UTF-8 (with or without byte order mark) or Windows-1252.
//
// Keys under HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER go
// to their roots (HKEY_USERS too; HKEY_CURRENT_CONFIG is skipped);
// afterwards HKEY_CLASSES_ROOT is composed from the machine's and the user's
// Software\Classes as classes_root.h describes. "[-key]" deletes a key,
// "name"=- a value.
#pragma once

#include <filesystem>
#include <string_view>

#include "registry/memory_store.h"

namespace brannock::registry {

// Parses an export held in memory (a copy is kept). `source` names it in
// error messages. The whole file is checked at once; keys are built when
// they are first read (key_index.h). Raises RegistryParseError
// ("<source>:<line>: <what>") on malformed input; the store is then left
// as it was, unless the file deletes keys or values: such a file is applied
// line by line, and what came before the error stays.
void ParseRegFile(std::string_view bytes, TextView source, MemoryStore& store);

// Reads and parses a file (its path names it in error messages), mapped
// and kept mapped while the store lives.
void LoadRegFile(const std::filesystem::path& file, MemoryStore& store);

}  // namespace brannock::registry
