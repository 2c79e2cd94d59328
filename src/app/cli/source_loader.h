// The type library loader of a registry source, as brannock-cli's commands
// open libraries: the live registry is the loader's own, a Wine prefix
// also maps Windows paths through its drives, and --drive adds mappings.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "registry/registry_source.h"
#include "typelib/loader.h"

namespace brannock::cli {

// The --drive options as given, as text.
TextList DriveTexts(const std::vector<std::string>& drives);

// Null where the platform has no type library reader. `source` null: the
// live registry.
std::unique_ptr<typelib::TypeLibLoader> SourceLoader(registry::RegistrySource* source,
                                                     const std::vector<std::string>& drives,
                                                     registry::RegistryView view);

}  // namespace brannock::cli
