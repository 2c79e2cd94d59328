#include "registry/index_ranges.h"

#include <algorithm>

namespace brannock::registry {

namespace {

// Whether `path` is the key `name` that starts at `start`, or below it.
bool InSubkey(TextView path, size_t start, TextView name) {
  const size_t end = start + name.size();
  if (path.size() < end || (path.size() > end && path[end] != u'\\')) return false;
  const TextView part = path.substr(start, name.size());
  return SamePrefix(part, name) == name.size() || EqualsNoCase(part, name);
}

}  // namespace

bool FindSubkeyRun(const IndexRange& r, TextView name, const IndexRange* previous, IndexRange* out) {
  const std::vector<KeyIndex::Entry>& entries = r.index->Entries(r.root);
  const size_t start = SubkeyStart(r);
  auto in = [&](uint32_t i) { return InSubkey(entries[i].path, start, name); };
  if (previous != nullptr && in(previous->lo)) {
    *out = *previous;
    return true;
  }
  const uint32_t below = FirstBelow(r);
  uint32_t lo = previous != nullptr ? previous->hi : r.hi;
  if (lo < below || lo >= r.hi || !in(lo)) {
    // The paths below one key share their start: the rest orders them.
    auto at = std::lower_bound(entries.begin() + below, entries.begin() + r.hi, name,
                               [start](const KeyIndex::Entry& e, TextView n) {
                                 return CompareKeyPaths(e.path.substr(start), n) < 0;
                               });
    lo = static_cast<uint32_t>(at - entries.begin());
    if (lo == r.hi || !in(lo)) return false;
  }
  const size_t end = start + name.size();
  uint32_t hi = lo + 1;
  while (hi < r.hi && entries[hi].shared >= end) ++hi;
  *out = IndexRange{r.index, r.root, lo, hi, static_cast<uint32_t>(end)};
  return true;
}

void PutValue(std::vector<MemoryStore::Value>& values, MemoryStore::Value value) {
  for (auto& v : values) {
    if (EqualsNoCase(v.name, value.name)) {
      v.type = value.type;
      v.data = std::move(value.data);
      return;
    }
  }
  values.push_back(std::move(value));
}

void PutRangeValues(const IndexRange& r, std::vector<MemoryStore::Value>& values) {
  const std::vector<KeyIndex::Entry>& entries = r.index->Entries(r.root);
  std::vector<MemoryStore::Value> read;
  for (uint32_t i = r.lo; i < r.hi && entries[i].path.size() == r.depth; ++i) {
    read.clear();
    r.index->ReadValues(entries[i], read);
    values.reserve(values.size() + read.size());
    for (MemoryStore::Value& v : read) PutValue(values, std::move(v));
  }
}

bool ReadRangeValue(const IndexRange& r, TextView name, MemoryStore::Value* out) {
  const std::vector<KeyIndex::Entry>& entries = r.index->Entries(r.root);
  std::vector<MemoryStore::Value> read;
  for (uint32_t i = FirstBelow(r); i-- > r.lo;) {
    read.clear();
    r.index->ReadValues(entries[i], read);
    for (size_t j = read.size(); j-- > 0;) {
      if (!EqualsNoCase(read[j].name, name)) continue;
      *out = std::move(read[j]);
      return true;
    }
  }
  return false;
}

}  // namespace brannock::registry
