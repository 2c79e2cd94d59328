// Small blocks for a command-line run, served by size class from slabs.
// Reading a large registry or type library makes hundreds of thousands of
// blocks of a few dozen bytes, which the C library's general-purpose
// allocator serves at about a hundred instructions each, and as many again
// to free; here a block is taken from its class's list of freed blocks, or
// cut from the class's current slab, in a few. A slab is never handed
// back, its blocks only to their class, so this suits a process that ends
// soon after its work (brannock-cli). The slabs come from the caller's
// source (the C library's heap), so memory that the heap has freed serves
// new slabs.
//
// Not thread-safe: the caller serialises the calls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brannock::platform {

class SmallBlocks {
 public:
  static constexpr size_t kLargest = 256;     // larger blocks are the caller's to serve
  static constexpr size_t kGranule = 16;      // every block is a multiple of this, and aligned to it
  static constexpr size_t kSlab = 64 * 1024;  // slabs are this large and aligned to it

  // A new slab: kSlab bytes aligned to kSlab, never given back; nullptr
  // when there is none.
  using SlabSource = void* (*)();

  constexpr explicit SmallBlocks(SlabSource source) : source_(source) {}

  // A block of at least `bytes` (at most kLargest) bytes, aligned to
  // kGranule; nullptr when `bytes` is larger or the source has no slab.
  void* Allocate(size_t bytes);
  // Whether `block` (any address) lies in one of this object's slabs.
  bool Owns(const void* block) const { return ClassPlus1(block) != 0; }
  // A block that Allocate gave (Owns is true), back to its class.
  void Free(void* block);
  // The usable size of an owned block.
  size_t SizeOf(const void* block) const { return ClassPlus1(block) * kGranule; }

 private:
  static constexpr size_t kClasses = kLargest / kGranule;
  // The class of each slab, one byte (class + 1) a slab: a table for every
  // 4 GiB of addresses in use, up to 2^49.
  static constexpr size_t kWindowBits = 32;
  static constexpr size_t kWindows = size_t{1} << (49 - kWindowBits);
  static constexpr size_t kSlabsPerWindow = (size_t{1} << kWindowBits) / kSlab;
  struct FreeBlock {
    FreeBlock* next;
  };

  size_t ClassPlus1(const void* block) const {
    const auto at = reinterpret_cast<uintptr_t>(block);
    const uintptr_t window = at >> kWindowBits;
    if (window >= kWindows || windows_[window] == nullptr) return 0;
    return windows_[window][(at / kSlab) % kSlabsPerWindow];
  }
  bool NewSlab(size_t cls);

  SlabSource source_;
  uint8_t* windows_[kWindows] = {};
  FreeBlock* free_[kClasses] = {};
  std::byte* cut_[kClasses] = {};     // the next block of the class's current slab
  std::byte* cutEnd_[kClasses] = {};  // the end of that slab
};

}  // namespace brannock::platform
