#include "registry/classes_root.h"

#include <vector>

namespace brannock::registry {

namespace {

MemoryStore::Node* FindPath(MemoryStore::Node& root, std::initializer_list<TextView> parts) {
  MemoryStore::Node* node = &root;
  for (TextView part : parts) {
    node = node->FindChild(part);
    if (node == nullptr) return nullptr;
  }
  return node;
}

// Iterative, so that a deep tree cannot exhaust the stack.
template <typename TopNode, typename TakeChild, typename TakeValue>
void Overlay(MemoryStore::Node& base, TopNode& top, TakeChild takeChild, TakeValue takeValue) {
  std::vector<std::pair<MemoryStore::Node*, TopNode*>> work{{&base, &top}};
  while (!work.empty()) {
    auto [b, t] = work.back();
    work.pop_back();
    for (auto& value : t->values) takeValue(*b, value);
    for (auto& [key, child] : t->children) {
      auto it = b->children.find(key);
      if (it == b->children.end()) {
        takeChild(*b, key, child);
      } else {
        work.emplace_back(it->second.get(), child.get());
      }
    }
  }
}

std::unique_ptr<MemoryStore::Node> CopyTree(const MemoryStore::Node& from) {
  auto root = std::make_unique<MemoryStore::Node>();
  root->name = from.name;
  std::vector<std::pair<MemoryStore::Node*, const MemoryStore::Node*>> work{{root.get(), &from}};
  while (!work.empty()) {
    auto [to, src] = work.back();
    work.pop_back();
    to->values = src->values;
    for (const auto& [key, child] : src->children) {
      auto copy = std::make_unique<MemoryStore::Node>();
      copy->name = child->name;
      MemoryStore::Node* raw = copy.get();
      to->children.emplace(TextView(raw->name), std::move(copy));  // keyed by the copy's own name
      work.emplace_back(raw, child.get());
    }
  }
  return root;
}

}  // namespace

void OverlayMove(MemoryStore::Node& base, MemoryStore::Node& top) {
  if (base.children.empty() && base.values.empty()) {
    base.children.swap(top.children);
    base.values.swap(top.values);
    return;
  }
  Overlay(
      base, top,
      [](MemoryStore::Node& b, TextView key, std::unique_ptr<MemoryStore::Node>& child) {
        b.children.emplace(key, std::move(child));  // the key views the moved node's own name
      },
      [](MemoryStore::Node& b, MemoryStore::Value& v) { b.SetValue(v.name, v.type, std::move(v.data)); });
  top.children.clear();
  top.values.clear();
}

void OverlayCopy(MemoryStore::Node& base, const MemoryStore::Node& top) {
  Overlay(
      base, top,
      [](MemoryStore::Node& b, TextView, const std::unique_ptr<MemoryStore::Node>& child) {
        auto copy = CopyTree(*child);
        const TextView key(copy->name);
        b.children.emplace(key, std::move(copy));
      },
      [](MemoryStore::Node& b, const MemoryStore::Value& v) { b.SetValue(v.name, v.type, v.data); });
}

void BuildClassesRoot(MemoryStore& store) {
  // Windows shows the machine's 32-bit classes also as
  // Software\Wow6432Node\Classes, and regedit exports them under that name.
  // Only its subkeys count: in a Wine prefix the key is a link.
  MemoryStore::Node& machineRoot = store.Root(RootKey::LocalMachine);
  if (MemoryStore::Node* alias = FindPath(machineRoot, {u"Software", u"Wow6432Node", u"Classes"});
      alias != nullptr && !alias->children.empty()) {
    MemoryStore::Node* wow = store.CreatePath(RootKey::LocalMachine, u"Software\\Classes\\Wow6432Node");
    MemoryStore::Node children;
    children.children.swap(alias->children);
    OverlayMove(*wow, children);
  }
  MemoryStore::Node merged;
  if (MemoryStore::Node* machine = FindPath(store.Root(RootKey::LocalMachine), {u"Software", u"Classes"}))
    OverlayMove(merged, *machine);
  MemoryStore::Node& classes = store.Root(RootKey::ClassesRoot);
  OverlayMove(merged, classes);
  if (const MemoryStore::Node* user = FindPath(store.Root(RootKey::CurrentUser), {u"Software", u"Classes"}))
    OverlayCopy(merged, *user);
  classes.children.swap(merged.children);
  classes.values.swap(merged.values);
}

}  // namespace brannock::registry
