// Ending a command-line run without taking its memory apart: a run that has
// read a large registry holds hundreds of thousands of small blocks, and
// freeing them one by one at exit costs time that nobody waits for. The
// operating system takes the whole address space back at once.
#pragma once

namespace brannock::platform {

// Flushes and closes nothing but the C streams (standard output and error,
// and every other FILE still open); the caller must have finished and
// closed its own files. Then ends the process with `code` at once, without
// running destructors or exit handlers. In builds with the sanitizers
// (BRANNOCK_FULL_TEARDOWN) it returns `code` instead, so that the caller
// unwinds as usual and the leak check sees every block freed.
int EndProcessNow(int code);

}  // namespace brannock::platform
