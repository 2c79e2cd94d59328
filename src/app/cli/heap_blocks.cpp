// brannock-cli's operator new and delete: blocks of up to 256 bytes come
// from platform::SmallBlocks, whose slabs and every larger block come from
// the C library's heap (which UseLargeHeapPages prepares). Linked into
// brannock-cli alone, not into the library its tests use. Compiled out
// where the sanitizers bring their own allocator (BRANNOCK_FULL_TEARDOWN)
// and off glibc.
#if defined(__GLIBC__) && !defined(BRANNOCK_FULL_TEARDOWN)

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/heap_pages.h"
#include "platform/small_blocks.h"

namespace {

using brannock::platform::SmallBlocks;

// Slabs are cut from runs of 32 taken from the heap at once: aligning each
// slab alone would leave a gap beside every one.
constexpr size_t kRun = 32 * SmallBlocks::kSlab;
char* run = nullptr;
size_t runLeft = 0;

void* NewSlab() {
  // The first slab may be asked for before main: the heap is prepared
  // first, so that the runs come from its large pages too.
  static bool prepared = false;
  if (!prepared) {
    prepared = true;
    brannock::platform::UseLargeHeapPages();
  }
  if (runLeft == 0) {
    void* next = nullptr;
    if (posix_memalign(&next, SmallBlocks::kSlab, kRun) != 0) return nullptr;
    run = static_cast<char*>(next);
    runLeft = kRun;
  }
  void* slab = run;
  run += SmallBlocks::kSlab;
  runLeft -= SmallBlocks::kSlab;
  return slab;
}

// Constant-initialised: ready for the allocations made before main.
constinit SmallBlocks blocks(&NewSlab);

std::atomic_flag locked = ATOMIC_FLAG_INIT;

class Lock {
 public:
  Lock() {
    while (locked.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Lock() { locked.clear(std::memory_order_release); }
};

void* Allocate(size_t bytes) {
  if (bytes <= SmallBlocks::kLargest) {
    void* block;
    {
      Lock lock;
      block = blocks.Allocate(bytes);
    }
    if (block != nullptr) return block;
  }
  for (;;) {
    if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  {
    Lock lock;
    if (blocks.Owns(block)) {
      blocks.Free(block);
      return;
    }
  }
  std::free(block);
}

}  // namespace

void* operator new(size_t bytes) { return Allocate(bytes); }
void* operator new[](size_t bytes) { return Allocate(bytes); }
void* operator new(size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return Allocate(bytes);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return Allocate(bytes);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, size_t) noexcept { Release(block); }
void operator delete[](void* block, size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }

#endif
