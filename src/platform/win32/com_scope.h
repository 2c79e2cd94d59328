// COM for the calling thread while the scope lasts (CoInitialize, and
// CoUninitialize at the end when it succeeded). A thread that already has
// COM keeps it: the nested call only counts.
#pragma once

#include <objbase.h>

namespace brannock::platform {

class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

}  // namespace brannock::platform
