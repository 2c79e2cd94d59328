// Finds or creates keys of a MemoryStore by path, remembering the last path
// and the nodes of its components: registry files list keys in tree order, so
// consecutive key lines share most of their components and only the rest is
// looked up.
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
  void Invalidate() {
    last_.clear();
    chain_.clear();
  }

 private:
  struct Component {
    size_t end;  // in last_
    MemoryStore::Node* node;
  };

  MemoryStore& store_;
  RootKey root_ = RootKey::ClassesRoot;
  Text last_;                     // the last path, as given
  std::vector<Component> chain_;  // its components
};

}  // namespace brannock::registry
