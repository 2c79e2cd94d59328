// Visits everything a library gives through the access layer: every type's
// documentation, attributes, functions (with names and documentation),
// variables, implemented types and the types their descriptors reference.
// Used to exercise a reader from end to end (tests, fuzzing, benchmarks).
#pragma once

#include <cstddef>

#include "typelib/access.h"

namespace brannock::typelib {

struct WalkCounts {
  size_t types = 0;
  size_t funcs = 0;
  size_t vars = 0;
  size_t names = 0;
  size_t references = 0;  // referenced types that resolved
  size_t failures = 0;    // calls that returned a failure code
};

WalkCounts WalkTypeLib(TypeLib& lib);

}  // namespace brannock::typelib
