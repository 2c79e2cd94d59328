#include "registry/key_path_cache.h"

namespace brannock::registry {

namespace {

// Names in files usually repeat with the same spelling: compare exactly first.
inline bool SameName(TextView a, TextView b) { return a.size() == b.size() && (a == b || EqualsNoCase(a, b)); }

}  // namespace

MemoryStore::Node* KeyPathCache::Open(RootKey root, TextView path) {
  if (root != root_) {
    chain_.clear();
    root_ = root;
  }
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  MemoryStore::Node* node = &store_.Root(root);
  if (path.empty()) {
    chain_.clear();
    return node;
  }
  bool reuse = true;
  size_t depth = 0;
  size_t start = 0;
  for (;;) {
    const size_t p = path.find(u'\\', start);
    const TextView part = path.substr(start, p == TextView::npos ? TextView::npos : p - start);
    if (part.empty()) {
      chain_.clear();
      return nullptr;
    }
    if (reuse && depth < chain_.size() && SameName(part, chain_[depth]->name)) {
      node = chain_[depth];
    } else {
      reuse = false;
      chain_.resize(depth);
      node = node->AddChild(part);
      chain_.push_back(node);
    }
    ++depth;
    if (p == TextView::npos) break;
    start = p + 1;
  }
  chain_.resize(depth);
  return node;
}

}  // namespace brannock::registry
