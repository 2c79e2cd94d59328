#include "platform/heap_pages.h"

namespace brannock::platform {

// The process heap of Windows commits its memory in large steps already.
void UseLargeHeapPages() {}

}  // namespace brannock::platform
