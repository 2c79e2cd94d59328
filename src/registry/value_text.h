// The registry routines shared by the catalogue and the detail pane. Each
// reads through its own native-view reader and closes it before returning.
#pragma once

#include "registry/registry_backend.h"

namespace brannock::registry {

// Size of the single reading buffer of GetRegValueText, in bytes (4097
// UTF-16 characters); the same buffer serves the expansion of REG_EXPAND_SZ.
constexpr uint32_t kValueBufferBytes = 8194;
constexpr size_t kExpandBufferChars = 4097;

// The display text of one value: empty when the key or value is missing;
// REG_EXPAND_SZ expanded with the backend's WindowsEnvironment(); binary
// data as "%2.2X " bytes (asHex) or as characters with "." for bytes below
// 0x20. Raises RegistryError for oversized data.
Text GetRegValueText(RegistryBackend& backend, RootKey root, TextView keyPath, TextView valueName, bool asHex);

// Fills the list with the key's subkey names when the key opens; otherwise
// leaves it untouched.
void GetRegKeyNames(RegistryBackend& backend, RootKey root, TextView keyPath, TextList& list);

// The display text of value bytes of a given type (the rendering step of
// GetRegValueText, without the registry reads); REG_EXPAND_SZ text is
// expanded with `environment` (NAME=VALUE entries).
Text RegValueDataText(TextView valueName, uint32_t type, const Bytes& data, bool asHex,
                      const TextList& environment);

}  // namespace brannock::registry
