#include "registry/viewed_registry.h"

namespace brannock::registry {

std::unique_ptr<OpenedKey> ViewedRegistry::Open(RootKey root, TextView path, uint32_t access) {
  return store_->Open(root, path, (access & ~Access::ViewMask) | ViewAccessFlag(view_));
}

std::unique_ptr<OpenedKey> ViewedRegistry::Create(RootKey root, TextView path) { return store_->Create(root, path); }

}  // namespace brannock::registry
