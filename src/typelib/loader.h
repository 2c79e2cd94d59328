// The type library loader of the platform: the oleaut32 adapter on Windows,
// the project's own file reader elsewhere.
#pragma once

#include <filesystem>
#include <memory>

#include "typelib/access.h"

namespace brannock::registry {
class RegistryBackend;
}

namespace brannock::typelib {

// `registry` is the registry source through which LoadRegTypeLib finds
// registered libraries; null means the live Windows registry. `winePrefix`
// (empty when there is none) maps Windows paths found in the registry to host
// files; `drives` ("C=/mnt/win", the --drive option) add or replace drive
// mappings. Returns null when this platform has no type library reader.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend* registry,
                                                   const std::filesystem::path& winePrefix,
                                                   const TextList& drives = {});

}  // namespace brannock::typelib
