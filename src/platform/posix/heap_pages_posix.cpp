#include "platform/heap_pages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__) && !defined(BRANNOCK_FULL_TEARDOWN)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define BRANNOCK_HEAP_PAGES 1
#endif

namespace brannock::platform {

void UseLargeHeapPages() {
#ifdef BRANNOCK_HEAP_PAGES
  static bool done = false;  // a second call would reserve again
  if (done) return;
  done = true;
  constexpr size_t kLargePage = size_t{2} << 20;
  // Address space only: untouched pages of the reserve take no memory.
  constexpr size_t kReserve = size_t{1} << 30;
  // Blocks up to the largest size the heap may serve (32 MiB) come from it,
  // not from mappings of their own, which would fault page by page again.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  // Nothing is handed back to the kernel while the run lasts.
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(kReserve));
  // The next growth of the heap takes the whole reserve at once.
  mallopt(M_TOP_PAD, static_cast<int>(kReserve));
  void* grow = std::malloc(kLargePage);
  if (grow == nullptr) return;
  const uintptr_t from = reinterpret_cast<uintptr_t>(grow);
  std::free(grow);
  // Growth after the reserve is used goes in ordinary steps.
  mallopt(M_TOP_PAD, 1 << 20);
  const uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0));
  if (end == static_cast<uintptr_t>(-1) || end <= from) return;  // the heap is not where sbrk grows
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t start = from & ~(page - 1);
  // Only a hint: where the kernel has no large pages to give, it gives small ones.
  madvise(reinterpret_cast<void*>(start), static_cast<size_t>(end - start), MADV_HUGEPAGE);
#endif
}

}  // namespace brannock::platform
