#include "registry/key_index.h"

#include <algorithm>
#include <cstring>

#include "common/unit_search.h"
#include "registry/input_limits.h"

namespace brannock::registry {

namespace {

constexpr size_t kBlockUnits = 1 << 16;

// A code unit's place in the order of paths: the separator before every
// character, letters a to z as their capitals.
inline uint32_t PathOrder(char16_t c) { return c == u'\\' ? 0 : uint32_t{UpperAscii(c)} + 1; }

// Sorts entries that are mostly in order already (a file that lists its
// keys in another case order, as Wine does, or adds some keys at its end):
// the runs that are in order are found in one pass and merged pairwise,
// earlier runs first among equal paths, as a stable sort leaves them.
void SortRuns(std::vector<KeyIndex::Entry>& entries) {
  auto less = [](const KeyIndex::Entry& a, const KeyIndex::Entry& b) { return CompareKeyPaths(a.path, b.path) < 0; };
  std::vector<size_t> bounds{0};
  for (size_t i = 1; i < entries.size(); ++i)
    if (less(entries[i], entries[i - 1])) bounds.push_back(i);
  bounds.push_back(entries.size());
  while (bounds.size() > 2) {
    std::vector<size_t> merged{0};
    size_t k = 0;
    for (; k + 2 < bounds.size(); k += 2) {
      std::inplace_merge(entries.begin() + static_cast<ptrdiff_t>(bounds[k]),
                         entries.begin() + static_cast<ptrdiff_t>(bounds[k + 1]),
                         entries.begin() + static_cast<ptrdiff_t>(bounds[k + 2]), less);
      merged.push_back(bounds[k + 2]);
    }
    // An odd run at the end waits for the next round.
    if (k + 1 < bounds.size()) merged.push_back(bounds.back());
    bounds = std::move(merged);
  }
}

// A key line and what follows it up to the next (its values, a blank
// line) seldom take fewer code units than this; the reserve is capped
// where the text would be all short keys. Small files are left to grow
// as they go: their copies are small, and a reserve would take a large
// page of the heap of its own.
constexpr size_t kUnitsPerKey = 32;
constexpr size_t kFewestReserved = size_t{1} << 16;
constexpr size_t kMostReserved = size_t{1} << 22;

}  // namespace

KeyIndex::Entry& KeyIndex::Add(RootKey root, const Entry& entry) {
  std::vector<Entry>& entries = Entries(root);
  const size_t expected = textUnits_ / kUnitsPerKey;
  if (entries.empty() && expected >= kFewestReserved) entries.reserve(std::min(expected, kMostReserved));
  entries.push_back(entry);
  return entries.back();
}

size_t SamePrefix(TextView a, TextView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t i = 0;
  // Four code units at a time over the common part (paths below one key
  // share most of theirs).
  for (; i + 4 <= n; i += 4) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, a.data() + i, sizeof x);
    std::memcpy(&y, b.data() + i, sizeof y);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

int CompareKeyPaths(TextView a, TextView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = SamePrefix(a, b); i < n; ++i) {
    if (a[i] == b[i]) continue;
    const uint32_t x = PathOrder(a[i]);
    const uint32_t y = PathOrder(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

size_t SharedComponents(TextView a, TextView b, int* order) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t same = SamePrefix(a, b);
  while (same < n && UpperAscii(a[same]) == UpperAscii(b[same])) ++same;
  if (same < n) *order = PathOrder(a[same]) < PathOrder(b[same]) ? -1 : 1;
  else *order = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  const bool boundary = (same == a.size() || a[same] == u'\\') && (same == b.size() || b[same] == u'\\');
  if (boundary) return same;
  const size_t last = a.substr(0, same).rfind(u'\\');
  return last == TextView::npos ? 0 : last;
}

bool HasNoEmptyComponent(TextView path) {
  if (path.empty()) return true;
  if (path.front() == u'\\' || path.back() == u'\\') return false;
  for (size_t i = FindUnit(path, 0, u'\\'); i != TextView::npos; i = FindUnit(path, i + 1, u'\\'))
    if (path[i + 1] == u'\\') return false;  // the last unit is no backslash
  return true;
}

TextView KeyIndex::Keep(TextView text) {
  // An empty text (a root's own key line) needs no block, also before the
  // first one is made.
  if (text.empty()) return {};
  if (text.size() > capacity_ - used_) {
    capacity_ = std::max(kBlockUnits, text.size());
    blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(capacity_));
    used_ = 0;
  }
  char16_t* at = blocks_.back().get() + used_;
  std::memcpy(at, text.data(), text.size() * sizeof(char16_t));
  used_ += text.size();
  return TextView(at, text.size());
}

bool KeyIndex::Order() {
  for (std::vector<Entry>& entries : entries_) {
    // A key has at most as many subkeys as there are entries below it.
    if (entries.size() > kMaxSubkeysPerKey) return false;
    // The entries of one key are side by side once sorted: their value
    // lines together bound the key's values.
    auto check = [&entries] {
      size_t lines = entries.empty() ? 0 : entries[0].valueLines;
      for (size_t i = 1; i < entries.size(); ++i) {
        int order = 0;
        entries[i].shared = static_cast<uint32_t>(SharedComponents(entries[i - 1].path, entries[i].path, &order));
        if (order > 0) return -1;
        lines = (order == 0 ? lines : 0) + entries[i].valueLines;
        if (lines > kMaxValuesPerKey) return 0;
      }
      return 1;
    };
    int checked = check();
    if (checked < 0) {
      SortRuns(entries);
      checked = check();
    }
    if (checked == 0) return false;
    if (!entries.empty()) entries[0].shared = 0;
  }
  return true;
}

void KeyIndex::Attach(std::shared_ptr<const KeyIndex> index, MemoryStore& store) {
  for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users}) {
    const size_t n = index->Entries(root).size();
    if (n != 0) store.Root(root).AddRange({index.get(), root, 0, static_cast<uint32_t>(n), 0});
  }
  store.KeepIndex(std::move(index));
}

}  // namespace brannock::registry
