// The type library loader of the platform: the oleaut32 adapter on Windows,
// the project's own file reader elsewhere.
#pragma once

#include <filesystem>
#include <memory>

#include "registry/registry_backend.h"
#include "typelib/access.h"

namespace brannock::typelib {

// `registry` is the registry source through which LoadRegTypeLib finds
// registered libraries; null means the live Windows registry. `winePrefix`
// (empty when there is none) maps Windows paths found in the registry to host
// files; `drives` ("C=/mnt/win", the --drive option) add or replace drive
// mappings. `view` is the registry view registered libraries are looked up
// in (the platform key it prefers, and the files a program of that view
// sees). Returns null when this platform has no type library reader.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend* registry,
                                                   const std::filesystem::path& winePrefix,
                                                   const TextList& drives = {},
                                                   registry::RegistryView view = registry::RegistryView::Bits64);

}  // namespace brannock::typelib
