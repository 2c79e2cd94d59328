// An in-memory registry: the store of the tests and of the file back ends
// (.reg exports, Wine prefixes, hives), which parse into it. Subkeys are kept
// ordered by their upper-cased names, so enumeration follows the order that
// registry_backend.h documents; values keep the order in which they were
// first stored.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "common/ascii.h"
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
      if (a[i] == b[i]) continue;
      const char16_t x = UpperAscii(a[i]);
      const char16_t y = UpperAscii(b[i]);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

class KeyIndex;

class MemoryStore : public RegistryBackend {
 public:
  struct Value {
    Text name;
    uint32_t type = RegType::None;
    Bytes data;
  };

  class Node;
  // Keyed by a view of the child's own `name` (a child's node never moves
  // while it is in the map, so the view stays valid).
  using ChildMap = std::map<TextView, std::unique_ptr<Node>, KeyNameLess>;

  // Keys of a registry file that a node holds without having built them
  // (key_index.h): the index's entries lo to hi of one root, all at or
  // below the node, whose path is `depth` code units long in them.
  struct IndexRange {
    const KeyIndex* index = nullptr;
    RootKey root = RootKey::ClassesRoot;
    uint32_t lo = 0;
    uint32_t hi = 0;
    uint32_t depth = 0;
    bool operator==(const IndexRange&) const = default;
  };

  // A key. A node of a file source builds its subkeys and its values from
  // the file's index when they are first asked for (Children(), Values()),
  // so that only the keys a command reads are ever built; every member
  // function below builds what it needs first.
  class Node {
   public:
    Text name;

    // Whoever may change the map through it also drops the place of the
    // last child found (FindChild).
    ChildMap& Children() {
      found_.reset();
      return BuiltChildren();
    }
    const ChildMap& Children() const { return const_cast<Node*>(this)->BuiltChildren(); }
    std::vector<Value>& Values() {
      if (pendingValues_ < RangeCount()) BuildValues();
      return values_;
    }
    const std::vector<Value>& Values() const { return const_cast<Node*>(this)->Values(); }
    // No subkeys and no values, built or not.
    bool Empty() const;

    // Callers that read a key's subkeys one after another in enumeration
    // order (the list builders) find each next to the one before: the last
    // child found and the one after it are tried before the map is searched.
    Node* FindChild(TextView childName) const;
    // Finds or adds the child; a new child takes the given spelling.
    Node* AddChild(TextView childName);
    bool DeleteChild(TextView childName);

    Value* FindValue(TextView valueName);
    // The value of that name as FindValue finds it, without building the
    // node's values: where the file's lines have not been built yet, they
    // are read for the one value into `scratch` and nothing is kept, so
    // that reading one value of each of many keys keeps none of them.
    const Value* ReadValue(TextView valueName, Value* scratch) const;
    // Whether some of the file's lines have not been built into values yet:
    // while they have not, nothing has changed the node's values.
    bool ValuesPending() const { return pendingValues_ < RangeCount(); }
    // Replaces a value of the same name (in place) or appends a new one.
    void SetValue(TextView valueName, uint32_t type, Bytes data);
    bool DeleteValue(TextView valueName);

    // Hands the node keys of an index to build when asked; what it holds
    // already stays beneath them (a value of the range replaces one of the
    // same name, subkeys are merged).
    void AddRange(const IndexRange& range);
    // Exchanges everything, built or not, with `other` (name aside).
    void SwapContents(Node& other) noexcept;

    // Whether every subkey is still in the node's ranges, none built: the
    // keys below it can then be read from its ranges alone.
    bool SubkeysInRanges() const { return pendingChildren_ == 0 && children_.empty() && RangeCount() > 0; }
    size_t RangeCount() const { return first_.index == nullptr ? 0 : 1 + more_.size(); }
    const IndexRange& Range(size_t i) const { return i == 0 ? first_ : more_[i - 1]; }
    std::vector<IndexRange> Ranges() const {
      std::vector<IndexRange> all;
      for (size_t k = 0; k < RangeCount(); ++k) all.push_back(Range(k));
      return all;
    }

   private:
    ChildMap& BuiltChildren() {
      if (pendingChildren_ < RangeCount()) BuildChildren();
      return children_;
    }
    void BuildChildren();
    void BuildValues();

    ChildMap children_;
    // The last child FindChild found; no child is erased from the map
    // while it is set (only Children(), DeleteChild and SwapContents can).
    mutable std::optional<ChildMap::const_iterator> found_;
    std::vector<Value> values_;
    IndexRange first_;
    std::vector<IndexRange> more_;
    uint32_t pendingChildren_ = 0;  // ranges before this one have built their subkeys
    uint32_t pendingValues_ = 0;    // and their values
  };

  MemoryStore();
  ~MemoryStore() override;
  MemoryStore(MemoryStore&&) noexcept;
  MemoryStore& operator=(MemoryStore&&) noexcept;

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

  // The file loaders compose HKEY_CLASSES_ROOT from the machine's and the
  // user's classes (classes_root.h), moving the machine's. A store that
  // keeps its stored layout is left with every key where its source put
  // it: the snapshot writes the two parts apart.
  void SetKeepsStoredLayout(bool keep) { keepsStoredLayout_ = keep; }
  bool KeepsStoredLayout() const { return keepsStoredLayout_; }

  // A store holds a registry of 64-bit Windows unless told otherwise: an
  // open of HKEY_CLASSES_ROOT with KEY_WOW64_32KEY reads the 32-bit view
  // (classes_view.h). A registry of 32-bit Windows has one view, and the
  // view flags change nothing.
  void SetMachineView(RegistryView view) { machineView_ = view; }
  RegistryView MachineView() const override { return machineView_; }

  // Of a read-only store, a key below a node whose subkeys were never built
  // is read from the file's index without building nodes (index_ranges.h).
  std::unique_ptr<OpenedKey> Open(RootKey root, TextView path, uint32_t access) override;
  std::unique_ptr<OpenedKey> Create(RootKey root, TextView path) override;

  // The Windows defaults until a source sets its own, either as a list or
  // as the way to make it from the store, made when first asked for.
  void SetWindowsEnvironment(TextList environment) { environment_ = std::move(environment); }
  void SetWindowsEnvironment(std::function<TextList(MemoryStore&)> make);
  TextList WindowsEnvironment() const override;

  // Keeps an index whose keys the store's nodes were given (Node::AddRange)
  // for as long as the store lives.
  void KeepIndex(std::shared_ptr<const KeyIndex> index) { indexes_.push_back(std::move(index)); }

  // UTF-16LE bytes of a text with its terminating NUL, as REG_SZ data is stored.
  static Bytes TextData(TextView s);

 private:
  std::array<Node, 4> roots_;
  bool readOnly_ = false;
  bool keepsStoredLayout_ = false;
  RegistryView machineView_ = RegistryView::Bits64;
  mutable std::optional<TextList> environment_;
  std::function<TextList(MemoryStore&)> makeEnvironment_;
  std::vector<std::shared_ptr<const KeyIndex>> indexes_;
  // The last subkey found below each level of the path of an open that
  // read the index, and the range it was found in: an open of the next
  // subkey, or of the same one again, starts from there.
  struct IndexLookup {
    IndexRange parent;
    IndexRange found;
  };
  mutable std::vector<IndexLookup> lookups_;
  bool FindIndexedSubkey(size_t slot, const IndexRange& parent, TextView name, IndexRange* out) const;
};

}  // namespace brannock::registry
