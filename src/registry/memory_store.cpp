#include "registry/memory_store.h"

#include <algorithm>
#include <iterator>

#include "common/error.h"
#include "common/unit_search.h"
#include "registry/classes_view.h"
#include "registry/index_ranges.h"
#include "registry/windows_environment.h"

namespace brannock::registry {

Text KeySortName(TextView name) { return UpperAscii(name); }

namespace {

// Names that KeyNameLess orders alike: equal once letters are upper-cased.
bool SameKeyName(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  return a == b || EqualsNoCase(a, b);
}

}  // namespace

MemoryStore::Node* MemoryStore::Node::FindChild(TextView childName) const {
  const ChildMap& map = Children();
  if (found_) {
    auto at = *found_;
    if (SameKeyName(at->first, childName)) return at->second.get();
    if (++at != map.end() && SameKeyName(at->first, childName)) {
      found_ = at;
      return at->second.get();
    }
  }
  auto it = map.find(childName);
  if (it == map.end()) return nullptr;
  found_ = it;
  return it->second.get();
}

namespace {

// Finds or adds a child in a map of children; new children of a file come
// in enumeration order, so the new child usually goes last.
MemoryStore::Node* FindOrAdd(MemoryStore::ChildMap& children, TextView childName) {
  auto it = children.end();
  if (!children.empty() && KeyNameLess()(std::prev(it)->first, childName)) {
    // past the last child: `it` stays end()
  } else {
    it = children.lower_bound(childName);
    if (it != children.end() && !KeyNameLess()(childName, it->first)) return it->second.get();
  }
  auto node = std::make_unique<MemoryStore::Node>();
  node->name = Text(childName);
  MemoryStore::Node* raw = node.get();
  children.emplace_hint(it, TextView(raw->name), std::move(node));
  return raw;
}

}  // namespace

MemoryStore::Node* MemoryStore::Node::AddChild(TextView childName) { return FindOrAdd(Children(), childName); }

bool MemoryStore::Node::DeleteChild(TextView childName) {
  ChildMap& map = Children();
  auto it = map.find(childName);
  if (it == map.end()) return false;
  map.erase(it);
  return true;
}

MemoryStore::Value* MemoryStore::Node::FindValue(TextView valueName) {
  for (auto& v : Values())
    if (EqualsNoCase(v.name, valueName)) return &v;
  return nullptr;
}

const MemoryStore::Value* MemoryStore::Node::ReadValue(TextView valueName, Value* scratch) const {
  // What BuildValues would leave: the last value of the name in the ranges
  // not built yet, in file order, else the one held already.
  for (size_t k = RangeCount(); k-- > pendingValues_;)
    if (ReadRangeValue(Range(k), valueName, scratch)) return scratch;
  for (const Value& v : values_)
    if (EqualsNoCase(v.name, valueName)) return &v;
  return nullptr;
}

void MemoryStore::Node::SetValue(TextView valueName, uint32_t type, Bytes data) {
  PutValue(Values(), Value{Text(valueName), type, std::move(data)});
}

bool MemoryStore::Node::DeleteValue(TextView valueName) {
  std::vector<Value>& values = Values();
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (EqualsNoCase(it->name, valueName)) {
      values.erase(it);
      return true;
    }
  }
  return false;
}

bool MemoryStore::Node::Empty() const {
  // A range holds at least one entry at or below the node.
  return RangeCount() == 0 && children_.empty() && values_.empty();
}

void MemoryStore::Node::AddRange(const IndexRange& range) {
  if (first_.index == nullptr) first_ = range;
  else more_.push_back(range);
}

void MemoryStore::Node::SwapContents(Node& other) noexcept {
  found_.reset();
  other.found_.reset();
  children_.swap(other.children_);
  values_.swap(other.values_);
  std::swap(first_, other.first_);
  more_.swap(other.more_);
  std::swap(pendingChildren_, other.pendingChildren_);
  std::swap(pendingValues_, other.pendingValues_);
}

void MemoryStore::Node::BuildChildren() {
  while (pendingChildren_ < RangeCount())
    ForEachSubkeyRun(Range(pendingChildren_++),
                     [this](TextView name, const IndexRange& run) { FindOrAdd(children_, name)->AddRange(run); });
}

void MemoryStore::Node::BuildValues() {
  while (pendingValues_ < RangeCount()) PutRangeValues(Range(pendingValues_++), values_);
}

MemoryStore::MemoryStore() = default;
MemoryStore::~MemoryStore() = default;
MemoryStore::MemoryStore(MemoryStore&&) noexcept = default;
MemoryStore& MemoryStore::operator=(MemoryStore&&) noexcept = default;

namespace {

// Lookups kept per level of a path: one for each of the first ranges of a
// key held by several (the classes of the machine and of the user).
constexpr size_t kLookupSlots = 2;

// Calls f(component) for each component; false when a component is empty
// (other than one trailing separator).
template <typename F>
bool ForEachComponent(TextView path, F&& f) {
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  if (path.empty()) return true;
  size_t start = 0;
  for (;;) {
    const size_t p = FindUnit(path, start, u'\\');
    const TextView part = path.substr(start, p == TextView::npos ? TextView::npos : p - start);
    if (part.empty()) return false;
    if (!f(part)) return false;
    if (p == TextView::npos) return true;
    start = p + 1;
  }
}

// The subkey names of a key held by index ranges, as building its node
// would give them: in enumeration order, a name that several ranges have
// spelled as the first of them spells it.
TextList IndexedSubkeyNames(const std::vector<IndexRange>& ranges) {
  std::vector<TextView> names;
  for (const IndexRange& r : ranges) ForEachSubkeyRun(r, [&](TextView name, const IndexRange&) { names.push_back(name); });
  if (ranges.size() > 1) {
    std::stable_sort(names.begin(), names.end(), KeyNameLess());
    names.erase(std::unique(names.begin(), names.end(),
                            [](TextView a, TextView b) { return !KeyNameLess()(a, b) && !KeyNameLess()(b, a); }),
                names.end());
  }
  return TextList(names.begin(), names.end());
}

class MemoryKey : public OpenedKey {
 public:
  MemoryKey(MemoryStore::Node* node, const MemoryStore* store) : node_(node), store_(store) {}
  // A key of a read-only store that no node holds: its index ranges.
  MemoryKey(std::vector<IndexRange> ranges, const MemoryStore* store)
      : node_(nullptr), store_(store), ranges_(std::move(ranges)) {}
  // The root of the 32-bit classes view: the node's values, the view's keys.
  static std::unique_ptr<MemoryKey> Classes32Root(MemoryStore::Node* classes, const MemoryStore* store) {
    auto key = std::make_unique<MemoryKey>(classes, store);
    key->classes32Root_ = true;
    return key;
  }

  TextList SubkeyNames() override {
    if (classes32Root_) return Classes32RootNames(*node_);
    if (node_ == nullptr) return IndexedSubkeyNames(ranges_);
    // Opens of the subkeys read the index too (MemoryStore::Open).
    if (store_->ReadOnly() && node_->SubkeysInRanges()) return IndexedSubkeyNames(node_->Ranges());
    const MemoryStore::ChildMap& children = node_->Children();
    TextList names;
    names.reserve(children.size());
    for (const auto& [key, child] : children) names.push_back(child->name);
    return names;
  }

  TextList ValueNames() override {
    std::vector<MemoryStore::Value> read;
    if (node_ == nullptr)
      for (const IndexRange& r : ranges_) PutRangeValues(r, read);
    const std::vector<MemoryStore::Value>& values = node_ == nullptr ? read : node_->Values();
    TextList names;
    names.reserve(values.size());
    for (const auto& v : values) names.push_back(v.name);
    return names;
  }

  bool QueryValue(TextView name, uint32_t* type, uint32_t* size, Bytes* data) override {
    // A value read from the file's lines is kept for the next query of the
    // same name (readers ask for a value's type and size, then its data),
    // for as long as the node's values stay unbuilt and so unchanged.
    // A key that no node holds belongs to a read-only store: it never changes.
    const bool unchanged = node_ == nullptr || node_->ValuesPending();
    if (!read_ || !unchanged || !EqualsNoCase(readName_, name)) {
      read_.reset();
      MemoryStore::Value scratch;
      const MemoryStore::Value* v = node_ != nullptr ? node_->ReadValue(name, &scratch) : ReadIndexed(name, &scratch);
      if (v == nullptr) return false;
      if (v != &scratch) return Answer(*v, type, size, data);
      readName_.assign(name);
      read_ = std::move(scratch);
    }
    return Answer(*read_, type, size, data);
  }

  void SetValue(TextView name, uint32_t type, const Bytes& data) override {
    if (store_->ReadOnly() || node_ == nullptr) OpenedKey::SetValue(name, type, data);
    node_->SetValue(name, type, data);
  }

 private:
  // The value as a node of the ranges would hold it: the last range that
  // gives one of the name.
  const MemoryStore::Value* ReadIndexed(TextView name, MemoryStore::Value* scratch) const {
    for (size_t k = ranges_.size(); k-- > 0;)
      if (ReadRangeValue(ranges_[k], name, scratch)) return scratch;
    return nullptr;
  }

  static bool Answer(const MemoryStore::Value& v, uint32_t* type, uint32_t* size, Bytes* data) {
    if (type != nullptr) *type = v.type;
    if (size != nullptr) *size = static_cast<uint32_t>(v.data.size());
    if (data != nullptr) *data = v.data;
    return true;
  }

  MemoryStore::Node* node_;
  const MemoryStore* store_;
  bool classes32Root_ = false;
  std::vector<IndexRange> ranges_;
  std::optional<MemoryStore::Value> read_;
  Text readName_;
};

}  // namespace

MemoryStore::Node* MemoryStore::Find(RootKey root, TextView path) { return FindBelow(Root(root), path); }

MemoryStore::Node* MemoryStore::FindBelow(Node& from, TextView path) {
  Node* node = &from;
  const bool ok = ForEachComponent(path, [&](TextView part) {
    node = node->FindChild(part);
    return node != nullptr;
  });
  return ok ? node : nullptr;
}

MemoryStore::Node* MemoryStore::CreatePath(RootKey root, TextView path) {
  Node* node = &Root(root);
  const bool ok = ForEachComponent(path, [&](TextView part) {
    node = node->AddChild(part);
    return true;
  });
  return ok ? node : nullptr;
}

bool MemoryStore::DeletePath(RootKey root, TextView path) {
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  const size_t p = path.rfind(u'\\');
  Node* parent = p == TextView::npos ? &Root(root) : Find(root, path.substr(0, p));
  if (parent == nullptr || path.empty()) return false;
  return parent->DeleteChild(p == TextView::npos ? path : path.substr(p + 1));
}

void MemoryStore::SetString(RootKey root, TextView path, TextView name, TextView value, uint32_t type) {
  CreatePath(root, path)->SetValue(name, type, TextData(value));
}

void MemoryStore::SetDword(RootKey root, TextView path, TextView name, uint32_t value) {
  Bytes b{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
  CreatePath(root, path)->SetValue(name, RegType::Dword, std::move(b));
}

void MemoryStore::SetBytes(RootKey root, TextView path, TextView name, uint32_t type, Bytes data) {
  CreatePath(root, path)->SetValue(name, type, std::move(data));
}

std::unique_ptr<OpenedKey> MemoryStore::Open(RootKey root, TextView path, uint32_t access) {
  if (root == RootKey::ClassesRoot && (access & Access::Wow64_32Key) && machineView_ == RegistryView::Bits64) {
    Node* node = FindClasses32(Root(root), path);
    if (node == nullptr) return nullptr;
    if (node == &Root(root)) return MemoryKey::Classes32Root(node, this);
    return std::make_unique<MemoryKey>(node, this);
  }
  Node* node = &Root(root);
  // Below a node whose subkeys were never built, the walk goes on in the
  // index ranges of its key.
  std::vector<IndexRange> ranges;
  size_t level = 0;
  const bool found = ForEachComponent(path, [&](TextView part) {
    if (ranges.empty()) {
      if (!readOnly_ || !node->SubkeysInRanges()) {
        node = node->FindChild(part);
        return node != nullptr;
      }
      ranges = node->Ranges();
    }
    size_t kept = 0;
    for (size_t k = 0; k < ranges.size(); ++k) {
      const IndexRange parent = ranges[k];
      if (FindIndexedSubkey(level * kLookupSlots + std::min(k, kLookupSlots - 1), parent, part, &ranges[kept]))
        ++kept;
    }
    ranges.resize(kept);
    ++level;
    return kept != 0;
  });
  if (!found) return nullptr;
  if (!ranges.empty()) return std::make_unique<MemoryKey>(std::move(ranges), this);
  return std::make_unique<MemoryKey>(node, this);
}

bool MemoryStore::FindIndexedSubkey(size_t slot, const IndexRange& parent, TextView name, IndexRange* out) const {
  if (slot >= lookups_.size()) lookups_.resize(slot + 1);
  IndexLookup& last = lookups_[slot];
  const bool sameParent = last.parent.index != nullptr && last.parent == parent;
  if (!FindSubkeyRun(parent, name, sameParent ? &last.found : nullptr, out)) return false;
  last = {parent, *out};
  return true;
}

void MemoryStore::SetWindowsEnvironment(std::function<TextList(MemoryStore&)> make) {
  environment_.reset();
  makeEnvironment_ = std::move(make);
}

TextList MemoryStore::WindowsEnvironment() const {
  if (!environment_ && makeEnvironment_) environment_ = makeEnvironment_(const_cast<MemoryStore&>(*this));
  return environment_ ? *environment_ : DefaultWindowsEnvironment();
}

std::unique_ptr<OpenedKey> MemoryStore::Create(RootKey root, TextView path) {
  if (readOnly_) return nullptr;
  Node* node = CreatePath(root, path);
  if (node == nullptr) return nullptr;
  return std::make_unique<MemoryKey>(node, this);
}

Bytes MemoryStore::TextData(TextView s) {
  Bytes b;
  b.reserve((s.size() + 1) * 2);
  for (char16_t c : s) {
    b.push_back(static_cast<uint8_t>(c & 0xFF));
    b.push_back(static_cast<uint8_t>(c >> 8));
  }
  b.push_back(0);
  b.push_back(0);
  return b;
}

}  // namespace brannock::registry
