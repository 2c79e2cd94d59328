// An in-memory registry: the store of the tests and of the file back ends
// (.reg exports, Wine prefixes, hives), which parse into it. Subkeys are kept
// ordered by their upper-cased names, so enumeration follows the order that
// registry_backend.h documents; values keep the order in which they were
// first stored.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "registry/registry_backend.h"

namespace brannock::registry {

// The key of the enumeration order and of name matching.
Text KeySortName(TextView name);

// The enumeration order on names, without building sort keys: letters a to z
// upper-cased, then UTF-16 code units compared (the same order as comparing
// KeySortName texts).
struct KeyNameLess {
  using is_transparent = void;
  bool operator()(TextView a, TextView b) const noexcept {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
      char16_t x = a[i];
      char16_t y = b[i];
      if (x == y) continue;
      if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
      if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

class MemoryStore : public RegistryBackend {
 public:
  struct Value {
    Text name;
    uint32_t type = RegType::None;
    Bytes data;
  };

  struct Node {
    Text name;
    // Keyed by a view of the child's own `name` (a child's node never moves
    // while it is in the map, so the view stays valid).
    std::map<TextView, std::unique_ptr<Node>, KeyNameLess> children;
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
  // The same below a given node.
  static Node* FindBelow(Node& from, TextView path);
  Node* CreatePath(RootKey root, TextView path);
  bool DeletePath(RootKey root, TextView path);

  // Convenience for building stores in code.
  void SetString(RootKey root, TextView path, TextView name, TextView value, uint32_t type = RegType::Sz);
  void SetDword(RootKey root, TextView path, TextView name, uint32_t value);
  void SetBytes(RootKey root, TextView path, TextView name, uint32_t type, Bytes data);

  // A read-only store refuses Create and SetValue.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }

  // A store holds a registry of 64-bit Windows unless told otherwise: an
  // open of HKEY_CLASSES_ROOT with KEY_WOW64_32KEY reads the 32-bit view
  // (classes_view.h). A registry of 32-bit Windows has one view, and the
  // view flags change nothing.
  void SetMachineView(RegistryView view) { machineView_ = view; }
  RegistryView MachineView() const override { return machineView_; }

  std::unique_ptr<OpenedKey> Open(RootKey root, TextView path, uint32_t access) override;
  std::unique_ptr<OpenedKey> Create(RootKey root, TextView path) override;

  // The Windows defaults until a source sets its own.
  void SetWindowsEnvironment(TextList environment) { environment_ = std::move(environment); }
  TextList WindowsEnvironment() const override;

  // UTF-16LE bytes of a text with its terminating NUL, as REG_SZ data is stored.
  static Bytes TextData(TextView s);

 private:
  std::array<Node, 4> roots_;
  bool readOnly_ = false;
  RegistryView machineView_ = RegistryView::Bits64;
  std::optional<TextList> environment_;
};

}  // namespace brannock::registry
