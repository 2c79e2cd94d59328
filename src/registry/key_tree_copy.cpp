#include "registry/key_tree_copy.h"

#include <algorithm>
#include <vector>

namespace brannock::registry {

namespace {

// The path as `from` spells it: each part replaced by the subkey name its
// parent enumerates for it (the live registry may say "SOFTWARE" where the
// caller wrote "Software"). Parts not found keep the caller's spelling.
Text StoredSpelling(RegistryBackend& from, RootKey root, TextView path, uint32_t access) {
  Text spelled;
  for (const Text& part : Split(path, u'\\')) {
    if (part.empty()) continue;
    Text name = part;
    if (auto parent = from.Open(root, spelled, access)) {
      const TextList names = parent->SubkeyNames();
      auto it = std::find_if(names.begin(), names.end(), [&](const Text& n) { return EqualsNoCase(n, part); });
      if (it != names.end()) name = *it;
    }
    if (!spelled.empty()) spelled += u'\\';
    spelled += name;
  }
  return spelled;
}

void CopyValues(OpenedKey& key, MemoryStore::Node& node) {
  for (const Text& name : key.ValueNames()) {
    uint32_t type = RegType::None;
    Bytes data;
    if (key.QueryValue(name, &type, nullptr, &data)) node.SetValue(name, type, std::move(data));
  }
}

}  // namespace

bool CopyKeyTree(RegistryBackend& from, RootKey root, TextView path, uint32_t access, MemoryStore& into) {
  const Text top = StoredSpelling(from, root, path, access);
  auto topKey = from.Open(root, top, access);
  if (!topKey) return false;
  MemoryStore::Node* topNode = into.CreatePath(root, top);
  if (topNode == nullptr) return false;
  const int topDepth = top.empty() ? 0 : static_cast<int>(std::count(top.begin(), top.end(), u'\\')) + 1;

  struct Work {
    Text path;
    MemoryStore::Node* node;
    int depth;
  };
  std::vector<Work> work{{top, topNode, topDepth}};
  while (!work.empty()) {
    Work w = std::move(work.back());
    work.pop_back();
    auto key = from.Open(root, w.path, access);
    if (!key) continue;
    CopyValues(*key, *w.node);
    if (w.depth >= kMaxKeyDepth) continue;
    const TextList names = key->SubkeyNames();
    // Pushed last to first, so keys are read in enumeration order.
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
      if (it->empty()) continue;
      const Text childPath = w.path.empty() ? *it : w.path + u"\\" + *it;
      work.push_back({childPath, w.node->AddChild(*it), w.depth + 1});
    }
  }
  return true;
}

}  // namespace brannock::registry
