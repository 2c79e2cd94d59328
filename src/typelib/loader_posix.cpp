#include "typelib/loader.h"

namespace brannock::typelib {

// No file reader yet: the caller reports that no loader is available.
std::unique_ptr<TypeLibLoader> CreateTypeLibLoader(registry::RegistryBackend*, const std::filesystem::path&) {
  return nullptr;
}

}  // namespace brannock::typelib
