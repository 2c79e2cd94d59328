// The heap of a command-line run in large pages. A run that reads a large
// registry or type library makes hundreds of thousands of small blocks, and
// the kernel gives a new process its memory one 4 KiB page at a time, one
// page fault each: for the render of a large library the faults cost about
// as much as the work. Asked once at the start, the C library's heap grows
// in one step into a large reserve of address space that the kernel backs
// with 2 MiB pages as it is first touched, and large blocks come from the
// same heap instead of mappings of their own.
//
// Only for processes that end soon after their work (brannock-cli): the
// reserve is never handed back while the process runs. Resident memory
// grows by what is touched, in steps of at most one large page.
#pragma once

namespace brannock::platform {

// Where the C library and the kernel allow it (glibc on Linux); a no-op
// elsewhere and in builds with the sanitizers (BRANNOCK_FULL_TEARDOWN),
// whose allocator is their own. Calls after the first do nothing.
void UseLargeHeapPages();

}  // namespace brannock::platform
