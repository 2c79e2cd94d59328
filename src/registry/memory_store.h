// An in-memory registry: the store of the tests and of the file back ends
// (.reg exports, Wine prefixes, hives), which parse into it. Subkeys are kept
// ordered by their upper-cased names, so enumeration follows the order that
// registry_backend.h documents; values keep the order in which they were
// first stored.
#pragma once

#include <array>
#include <map>
#include <memory>

#include "registry/registry_backend.h"

namespace brannock::registry {

// The key of the enumeration order and of name matching.
Text KeySortName(TextView name);

class MemoryStore : public RegistryBackend {
 public:
  struct Value {
    Text name;
    uint32_t type = RegType::None;
    Bytes data;
  };

  struct Node {
    Text name;
    std::map<Text, std::unique_ptr<Node>, std::less<>> children;  // by KeySortName
    std::vector<Value> values;

    Node* FindChild(TextView childName) const;
    // Finds or adds the child; a new child takes the given spelling.
    Node* AddChild(TextView childName);
    bool DeleteChild(TextView childName);

    Value* FindValue(TextView valueName);
    // Replaces a value of the same name (in place) or appends a new one.
    void SetValue(TextView valueName, uint32_t type, Bytes data);
    bool DeleteValue(TextView valueName);
  };

  MemoryStore();

  Node& Root(RootKey root) { return roots_[static_cast<size_t>(root)]; }
  const Node& Root(RootKey root) const { return roots_[static_cast<size_t>(root)]; }

  // Path components are separated by one backslash; an empty path is the
  // root; one trailing backslash is ignored. Null when a component is
  // missing or empty.
  Node* Find(RootKey root, TextView path);
  Node* CreatePath(RootKey root, TextView path);
  bool DeletePath(RootKey root, TextView path);

  // Convenience for building stores in code.
  void SetString(RootKey root, TextView path, TextView name, TextView value, uint32_t type = RegType::Sz);
  void SetDword(RootKey root, TextView path, TextView name, uint32_t value);
  void SetBytes(RootKey root, TextView path, TextView name, uint32_t type, Bytes data);

  // A read-only store refuses Create and SetValue.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }

  std::unique_ptr<OpenedKey> Open(RootKey root, TextView path, uint32_t access) override;
  std::unique_ptr<OpenedKey> Create(RootKey root, TextView path) override;

  // UTF-16LE bytes of a text with its terminating NUL, as REG_SZ data is stored.
  static Bytes TextData(TextView s);

 private:
  std::array<Node, 4> roots_;
  bool readOnly_ = false;
};

}  // namespace brannock::registry
