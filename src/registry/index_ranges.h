// Keys that are still entries of a file's index (key_index.h): the subkeys
// of a range of entries, the range of one subkey, and the values a range
// gives its key. The store builds its nodes with these, and reads keys
// below nodes whose subkeys were never built through them, building no
// node at all.
#pragma once

#include "common/unit_search.h"

#include "registry/key_index.h"
#include "registry/memory_store.h"

namespace brannock::registry {

using IndexRange = MemoryStore::IndexRange;

// Where the entries below the key of `r` start: its own entries come first.
inline uint32_t FirstBelow(const IndexRange& r) {
  const std::vector<KeyIndex::Entry>& entries = r.index->Entries(r.root);
  uint32_t i = r.lo;
  while (i < r.hi && entries[i].path.size() == r.depth) ++i;
  return i;
}

// Where a subkey's name starts in the paths of `r`.
inline size_t SubkeyStart(const IndexRange& r) { return r.depth == 0 ? 0 : r.depth + 1; }

// Calls f(name, range) for each subkey of the key of `r`, in enumeration
// order. A key spelled in several ways takes the spelling the file gives
// first.
template <typename F>
void ForEachSubkeyRun(const IndexRange& r, F&& f) {
  const std::vector<KeyIndex::Entry>& entries = r.index->Entries(r.root);
  const size_t start = SubkeyStart(r);
  uint32_t i = FirstBelow(r);
  while (i < r.hi) {
    const TextView path = entries[i].path;
    size_t end = FindUnit(path, start, u'\\');
    if (end == TextView::npos) end = path.size();
    const TextView part = path.substr(start, end - start);
    uint32_t first = i;
    uint32_t j = i + 1;
    for (; j < r.hi && entries[j].shared >= end; ++j)
      if (entries[j].line < entries[first].line) first = j;
    f(entries[first].path.substr(start, part.size()), IndexRange{r.index, r.root, i, j, static_cast<uint32_t>(end)});
    i = j;
  }
}

// The range of the subkey `name` (in any letter case) of the key of `r`;
// false when it has none. `previous`, when not null, is a subkey range
// found below `r` before: the same subkey again is that range, and the
// subkey after it is looked for where it ends before anywhere else.
bool FindSubkeyRun(const IndexRange& r, TextView name, const IndexRange* previous, IndexRange* out);

// Sets a value in a list of values: in place when one has its name (in any
// letter case), else at the end.
void PutValue(std::vector<MemoryStore::Value>& values, MemoryStore::Value value);

// Puts the values that the key's own entries in `r` give, in file order,
// into `values`: one of a name already there replaces it in place.
void PutRangeValues(const IndexRange& r, std::vector<MemoryStore::Value>& values);

// The value `name` as PutRangeValues would leave it from `r` alone: the
// last one of that name. False when `r` gives none.
bool ReadRangeValue(const IndexRange& r, TextView name, MemoryStore::Value* out);

}  // namespace brannock::registry
