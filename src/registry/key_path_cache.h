// Finds or creates keys of a MemoryStore by path, remembering the nodes of
// the last path: registry files list keys in tree order, so consecutive key
// lines share most of their components and only the rest is looked up.
#pragma once

#include <vector>

#include "registry/memory_store.h"

namespace brannock::registry {

class KeyPathCache {
 public:
  explicit KeyPathCache(MemoryStore& store) : store_(store) {}

  // The key root\path, created with its parents when missing; `path` holds
  // components separated by one backslash (one trailing backslash is
  // ignored). Null when a component is empty.
  MemoryStore::Node* Open(RootKey root, TextView path);

  // Forget the remembered nodes (after a key was deleted).
  void Invalidate() { chain_.clear(); }

 private:
  MemoryStore& store_;
  RootKey root_ = RootKey::ClassesRoot;
  std::vector<MemoryStore::Node*> chain_;  // the nodes of the last path's components
};

}  // namespace brannock::registry
