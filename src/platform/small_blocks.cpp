#include "platform/small_blocks.h"

#include <cstring>

namespace brannock::platform {

static_assert(SmallBlocks::kSlab >= 64 * 1024, "a slab holds one window's table of classes");

bool SmallBlocks::NewSlab(size_t cls) {
  auto* slab = static_cast<std::byte*>(source_());
  if (slab == nullptr) return false;
  const auto at = reinterpret_cast<uintptr_t>(slab);
  const uintptr_t window = at >> kWindowBits;
  if (window >= kWindows || at % kSlab != 0) return false;  // kept, unused: the source broke its promise
  if (windows_[window] == nullptr) {
    // The window's table is a slab of its own.
    auto* table = static_cast<uint8_t*>(source_());
    if (table == nullptr) return false;
    std::memset(table, 0, kSlabsPerWindow);
    windows_[window] = table;
  }
  windows_[window][(at / kSlab) % kSlabsPerWindow] = static_cast<uint8_t>(cls + 1);
  cut_[cls] = slab;
  cutEnd_[cls] = slab + kSlab;
  return true;
}

void* SmallBlocks::Allocate(size_t bytes) {
  if (bytes > kLargest) return nullptr;
  const size_t cls = bytes == 0 ? 0 : (bytes - 1) / kGranule;
  if (FreeBlock* block = free_[cls]) {
    free_[cls] = block->next;
    return block;
  }
  const size_t size = (cls + 1) * kGranule;
  // A slab's size need not be a multiple of the class's: its tail is left.
  if (cutEnd_[cls] - cut_[cls] < static_cast<ptrdiff_t>(size) && !NewSlab(cls)) return nullptr;
  std::byte* block = cut_[cls];
  cut_[cls] += size;
  return block;
}

void SmallBlocks::Free(void* block) {
  auto* freed = static_cast<FreeBlock*>(block);
  const size_t cls = ClassPlus1(block) - 1;
  freed->next = free_[cls];
  free_[cls] = freed;
}

}  // namespace brannock::platform
