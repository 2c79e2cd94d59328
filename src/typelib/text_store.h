// The texts of a parsed library (member names, doc strings, entry point
// names) kept in large blocks: a member refers to its texts by views, so
// that reading a library makes no block per name and copying a member
// copies no text. Views stay valid for the life of the store, also after
// it is moved; the store itself is not copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "common/text.h"

namespace brannock::typelib {

using TextViews = std::span<const TextView>;

class TextStore {
 public:
  TextStore() = default;
  TextStore(TextStore&&) noexcept = default;
  TextStore& operator=(TextStore&&) noexcept = default;
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;

  // Room for `count` units, to be filled by the caller.
  char16_t* Units(size_t count) {
    const size_t bytes = count * sizeof(char16_t);
    if (bytes > left_) return static_cast<char16_t*>(Room(bytes, alignof(char16_t)));
    // Units keep the current block aligned for them: lists align it again.
    std::byte* at = next_;
    next_ += bytes;
    left_ -= bytes;
    return reinterpret_cast<char16_t*>(at);
  }
  TextView Keep(TextView text);
  TextViews Keep(TextViews list);

 private:
  void* Room(size_t bytes, size_t alignment);

  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  size_t left_ = 0;
};

}  // namespace brannock::typelib
