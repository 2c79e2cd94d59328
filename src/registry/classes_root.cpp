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
    for (auto& value : t->Values()) takeValue(*b, value);
    for (auto& [key, child] : t->Children()) {
      auto it = b->Children().find(key);
      if (it == b->Children().end()) {
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
    to->Values() = src->Values();
    for (const auto& [key, child] : src->Children()) {
      auto copy = std::make_unique<MemoryStore::Node>();
      copy->name = child->name;
      MemoryStore::Node* raw = copy.get();
      to->Children().emplace(TextView(raw->name), std::move(copy));  // keyed by the copy's own name
      work.emplace_back(raw, child.get());
    }
  }
  return root;
}

// Keys whose entries are the registrations (CLSID\{...}); any other key
// directly below the classes (a ProgID, an extension) is one entry itself.
bool IsCategoryKey(TextView name) {
  for (TextView category : {u"CLSID", u"Interface", u"TypeLib", u"AppID"})
    if (EqualsNoCase(name, category)) return true;
  return false;
}

// Copies into `kept` the entries of `machine` that `user` overrides: below
// a category key each registration, else the whole key; Wow6432Node holds
// the 32-bit view's keys and is looked into the same way.
void KeepOverridden(const MemoryStore::Node& machine, const MemoryStore::Node& user, MemoryStore::Node& kept,
                    bool inWow64) {
  for (const auto& [name, userChild] : user.Children()) {
    const MemoryStore::Node* machineChild = machine.FindChild(name);
    if (machineChild == nullptr) continue;
    const bool wow64 = !inWow64 && EqualsNoCase(name, u"Wow6432Node");
    if (wow64 || IsCategoryKey(name)) {
      MemoryStore::Node* into = kept.AddChild(machineChild->name);
      if (wow64) {
        KeepOverridden(*machineChild, *userChild, *into, true);
        continue;
      }
      for (const auto& [entry, userEntry] : userChild->Children()) {
        if (const MemoryStore::Node* machineEntry = machineChild->FindChild(entry)) {
          auto copy = CopyTree(*machineEntry);
          const TextView key(copy->name);
          into->Children().emplace(key, std::move(copy));
        }
      }
      if (into->Children().empty()) kept.DeleteChild(machineChild->name);
    } else {
      auto copy = CopyTree(*machineChild);
      const TextView key(copy->name);
      kept.Children().emplace(key, std::move(copy));
    }
  }
}

}  // namespace

void OverlayMove(MemoryStore::Node& base, MemoryStore::Node& top) {
  if (base.Empty()) {  // the keys of a file stay unbuilt
    base.SwapContents(top);
    return;
  }
  Overlay(
      base, top,
      [](MemoryStore::Node& b, TextView key, std::unique_ptr<MemoryStore::Node>& child) {
        b.Children().emplace(key, std::move(child));  // the key views the moved node's own name
      },
      [](MemoryStore::Node& b, MemoryStore::Value& v) { b.SetValue(v.name, v.type, std::move(v.data)); });
  top.Children().clear();
  top.Values().clear();
}

void OverlayCopy(MemoryStore::Node& base, const MemoryStore::Node& top) {
  Overlay(
      base, top,
      [](MemoryStore::Node& b, TextView, const std::unique_ptr<MemoryStore::Node>& child) {
        auto copy = CopyTree(*child);
        const TextView key(copy->name);
        b.Children().emplace(key, std::move(copy));
      },
      [](MemoryStore::Node& b, const MemoryStore::Value& v) { b.SetValue(v.name, v.type, v.data); });
}

void MoveMachineWow64Classes(MemoryStore& store) {
  // Windows shows the machine's 32-bit classes also as
  // Software\Wow6432Node\Classes, and regedit exports them under that name.
  // Only its subkeys count: in a Wine prefix the key is a link.
  MemoryStore::Node& machineRoot = store.Root(RootKey::LocalMachine);
  if (MemoryStore::Node* alias = FindPath(machineRoot, {u"Software", u"Wow6432Node", u"Classes"});
      alias != nullptr && !alias->Children().empty()) {
    MemoryStore::Node* wow = store.CreatePath(RootKey::LocalMachine, u"Software\\Classes\\Wow6432Node");
    MemoryStore::Node children;
    children.Children().swap(alias->Children());
    OverlayMove(*wow, children);
  }
}

void BuildClassesRoot(MemoryStore& store) {
  if (store.KeepsStoredLayout()) return;
  MoveMachineWow64Classes(store);
  MemoryStore::Node merged;
  if (MemoryStore::Node* machine = FindPath(store.Root(RootKey::LocalMachine), {u"Software", u"Classes"}))
    OverlayMove(merged, *machine);
  MemoryStore::Node& classes = store.Root(RootKey::ClassesRoot);
  OverlayMove(merged, classes);
  if (const MemoryStore::Node* user = FindPath(store.Root(RootKey::CurrentUser), {u"Software", u"Classes"})) {
    MemoryStore::Node* kept = store.CreatePath(RootKey::LocalMachine, u"Software\\Classes");
    KeepOverridden(merged, *user, *kept, false);
    OverlayCopy(merged, *user);
  }
  classes.SwapContents(merged);
}

}  // namespace brannock::registry
