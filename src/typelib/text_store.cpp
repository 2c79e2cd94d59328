#include "typelib/text_store.h"

#include <algorithm>

namespace brannock::typelib {
namespace {

constexpr size_t kBlock = 64 * 1024;
// A request larger than this gets a block of its own, so that the rest of
// the current block is not given up for it.
constexpr size_t kLargest = kBlock / 4;

}  // namespace

void* TextStore::Room(size_t bytes, size_t alignment) {
  if (bytes == 0) return nullptr;
  if (bytes > kLargest) {
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
    return blocks_.back().get();
  }
  const size_t skip = (alignment - reinterpret_cast<uintptr_t>(next_) % alignment) % alignment;
  if (next_ == nullptr || skip + bytes > left_) {
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(kBlock));
    next_ = blocks_.back().get();
    left_ = kBlock;
    return Room(bytes, alignment);
  }
  std::byte* at = next_ + skip;
  next_ = at + bytes;
  left_ -= skip + bytes;
  return at;
}

TextView TextStore::Keep(TextView text) {
  if (text.empty()) return {};
  char16_t* units = Units(text.size());
  std::copy(text.begin(), text.end(), units);
  return {units, text.size()};
}

TextViews TextStore::Keep(TextViews list) {
  if (list.empty()) return {};
  auto* views = static_cast<TextView*>(Room(list.size() * sizeof(TextView), alignof(TextView)));
  std::uninitialized_copy(list.begin(), list.end(), views);
  return {views, list.size()};
}

}  // namespace brannock::typelib
