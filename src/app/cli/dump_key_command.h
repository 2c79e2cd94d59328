// The hidden option that writes the display texts of a key tree, with which
// the Windows stage compares the live registry of a Wine prefix (advapi32)
// with the same prefix read from its files:
//   brannock-cli [--registry PATH] [--view 32|64] --dump-key KEYPATH FILE
// KEYPATH is below HKEY_CLASSES_ROOT, read in the view given (by default
// the source's own). FILE gets one line per key, in
// enumeration order, and one line per value of each key, in stored order,
// with the value's hex and text display texts or the registry error raised.
#pragma once

#include <filesystem>
#include <string>

#include "registry/registry_backend.h"

namespace brannock::cli {

// The dump's text (UTF-8, lines ended by LF).
std::string DumpKeyTree(registry::RegistryBackend& backend, TextView keyPath);

// Writes the dump of `keyPath` into `file`, whole or not at all.
void WriteKeyDump(registry::RegistryBackend& backend, TextView keyPath, const std::filesystem::path& file);

}  // namespace brannock::cli
