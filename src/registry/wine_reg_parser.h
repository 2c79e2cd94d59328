// Reader of the registry files of a Wine prefix: system.reg (the machine's
// keys, HKEY_LOCAL_MACHINE) and user.reg (the user's, HKEY_CURRENT_USER), in
// Wine's "WINE REGISTRY Version 2" text format: key lines with their time
// stamps, "#time=", "#class=", "#arch=" and "#link" option lines, and values
// as "...", str(N):"...", hex:, hex(N): and dword:, with Wine's escapes in
// names and strings (\\ \" \n \r \t \a \b \e \f \v, \xNNNN, octal).
//
// Keys that Wine marks as symbolic links ("#link", with a REG_LINK value
// "SymbolicLinkValue") are kept as ordinary keys holding that value; links
// are not followed. In a prefix they only redirect parts of the 32-bit view
// (Software\Classes\Wow6432Node\TypeLib, ...) to the shared keys, which
// the 32-bit view takes from the common tree anyway (classes_view.h).
//
// "#arch=win32" before the first key of the machine's file marks a prefix
// of 32-bit Windows: the store then has one view (MemoryStore::
// SetMachineView).
#pragma once

#include <filesystem>
#include <string_view>

#include "registry/memory_store.h"

namespace brannock::registry {

enum class WineHive { Machine, User };

// Parses one registry file held in memory. Its header line
// ";; All keys relative to REGISTRY\\Machine" (or ...\\User\\S-...) tells
// whether its keys go below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER; without
// that line `hive` decides. HKEY_CLASSES_ROOT is not composed here (see
// BuildClassesRoot). Raises RegistryParseError ("<source>:<line>: <what>").
void ParseWineRegistry(std::string_view bytes, TextView source, WineHive hive, MemoryStore& store);

// Reads system.reg and, when present, user.reg of a prefix folder, then
// composes HKEY_CLASSES_ROOT from their Software\Classes keys.
void LoadWinePrefix(const std::filesystem::path& prefix, MemoryStore& store);

}  // namespace brannock::registry
