#include "platform/process_end.h"

#include <cstdio>
#include <cstdlib>

namespace brannock::platform {

int EndProcessNow(int code) {
#ifndef BRANNOCK_FULL_TEARDOWN
  std::fflush(nullptr);
  std::_Exit(code);
#else
  return code;
#endif
}

}  // namespace brannock::platform
