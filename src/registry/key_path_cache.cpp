#include "registry/key_path_cache.h"

#include "registry/input_limits.h"

namespace brannock::registry {

MemoryStore::Node* KeyPathCache::Open(RootKey root, TextView path) {
  if (root != root_) {
    Invalidate();
    root_ = root;
  }
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);

  // The components that the path shares, spelled the same, with the last one.
  size_t same = 0;
  const size_t n = path.size() < last_.size() ? path.size() : last_.size();
  while (same < n && path[same] == last_[same]) ++same;
  size_t reused = 0;
  while (reused < chain_.size()) {
    const size_t end = chain_[reused].end;
    if (end > same || (end < path.size() && path[end] != u'\\')) break;
    ++reused;
  }

  MemoryStore::Node* node = reused == 0 ? &store_.Root(root) : chain_[reused - 1].node;
  chain_.resize(reused);
  size_t start = reused == 0 ? 0 : chain_[reused - 1].end + 1;
  last_.assign(path);
  if (start > path.size() || path.empty()) return node;
  for (;;) {
    size_t end = path.find(u'\\', start);
    if (end == TextView::npos) end = path.size();
    const TextView part = path.substr(start, end - start);
    if (part.empty()) {
      Invalidate();
      return nullptr;
    }
    node = AddChildWithinLimits(*node, part);
    chain_.push_back(Component{end, node});
    if (end == path.size()) return node;
    start = end + 1;
  }
}

}  // namespace brannock::registry
