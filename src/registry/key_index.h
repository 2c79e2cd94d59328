// The keys of a registry file as one scan of it finds them, so that a store
// builds only the keys a command reads. The file readers (.reg exports,
// Wine registry files) check the whole file in that scan, with the same
// messages as when they built every key, and note each key line: its path,
// its line number and where its values start. A node of the store is then
// handed a range of these entries (MemoryStore::Node::AddRange) and builds
// its subkeys and values from them when they are first asked for.
//
// The entries of each root are kept in enumeration order of their paths
// (the order registry_backend.h documents, component by component), so that the keys below
// any key are one run of entries: a file written in that order (regedit's
// and Wine's are, nearly) is taken as it is, any other is sorted once.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "registry/memory_store.h"

namespace brannock::registry {

class KeyIndex {
 public:
  struct Entry {
    TextView path;           // below the root: components joined by one backslash
    size_t values = 0;       // where the key's value lines start, in code units of the file's text
    uint32_t line = 0;       // the number of the key line
    uint32_t valueLines = 0;
    // Once in order: how much of the path, in whole components, is the
    // path of the entry before (in any letter case); 0 for the first. The
    // entries below one key are those that share at least its path, so
    // runs are found without reading the paths themselves.
    uint32_t shared = 0;
  };

  virtual ~KeyIndex() = default;

  std::vector<Entry>& Entries(RootKey root) { return entries_[static_cast<size_t>(root)]; }
  const std::vector<Entry>& Entries(RootKey root) const { return entries_[static_cast<size_t>(root)]; }

  // Notes an entry of the key line just scanned; the reference lasts until
  // the next entry of that root.
  Entry& Add(RootKey root, const Entry& entry);

  // The length of the file's text, in code units: the first entry of a
  // root reserves room for the keys such a text holds where key lines are
  // short, so that the entries are not copied over and over as the file
  // goes on (room not filled takes no memory).
  void ExpectText(size_t units) { textUnits_ = units; }

  // A copy of `text` that lives as long as the index (decoded key paths).
  TextView Keep(TextView text);

  // Puts each root's entries in enumeration order. False when a key might
  // pass kMaxSubkeysPerKey or kMaxValuesPerKey: such a file is read key by
  // key in file order instead, which checks the limits exactly.
  bool Order();

  // Hands each root of the store the index's keys of that root, and the
  // store the index to keep.
  static void Attach(std::shared_ptr<const KeyIndex> index, MemoryStore& store);

  // The values of one entry in file order (a later one of the same name
  // replaces an earlier one where they are stored).
  virtual void ReadValues(const Entry& entry, std::vector<MemoryStore::Value>& out) const = 0;

 private:
  std::array<std::vector<Entry>, 4> entries_;
  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  size_t used_ = 0;
  size_t capacity_ = 0;
  size_t textUnits_ = 0;
};

// The order of key paths below one root: component by component, each in
// the enumeration order of key names (KeyNameLess). Negative, zero or
// positive as `a` comes before, with, or after `b`.
int CompareKeyPaths(TextView a, TextView b);

// How many code units `a` and `b` have in common at their start.
size_t SamePrefix(TextView a, TextView b);

// How long a start of whole components the paths `a` and `b` share, with
// letters compared in any case; `order` is set as CompareKeyPaths(a, b)
// gives it.
size_t SharedComponents(TextView a, TextView b, int* order);

// Whether `path` (a key line's path below its root, one trailing backslash
// already taken off) has no empty component.
bool HasNoEmptyComponent(TextView path);

}  // namespace brannock::registry
