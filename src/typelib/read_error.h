// Where a reader of a binary type library found the file damaged: the code
// the platform's loader gives for it, the byte offset in the file and the
// record that failed. The access layer hands on only the code (the one
// oleaut32 would give); messages and tests use the place.
//
// A reader returns Expected<T>: a value, or the ReadFailure that stopped it.
// (Each single read of the cursor in typelib/byte_reader.h gives its own
// small ReadStatus.)
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <variant>

#include "typelib/access.h"

namespace brannock::typelib {

struct ReadFailure {
  HRESULT code = Code::TypeInvDataRead;
  size_t offset = 0;        // from the start of the library (of the TYPELIB resource in a PE file)
  const char* record = "";  // what was being read: "segment directory", "function record", ...

  // "<record> at offset 0x<offset>", the offset in upper-case hexadecimal.
  std::string Where() const {
    char offsetText[24];
    std::snprintf(offsetText, sizeof offsetText, "0x%llX", static_cast<unsigned long long>(offset));
    return std::string(record) + " at offset " + offsetText;
  }
};

template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Expected(ReadFailure failure) : state_(std::in_place_index<1>, failure) {}

  explicit operator bool() const { return state_.index() == 0; }
  T& operator*() { return std::get<0>(state_); }
  const T& operator*() const { return std::get<0>(state_); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }
  // Only when there is no value.
  const ReadFailure& Failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, ReadFailure> state_;
};

// For readers that produce nothing but success or the place of a failure.
template <>
class [[nodiscard]] Expected<void> {
 public:
  Expected() = default;
  Expected(ReadFailure failure) : failed_(true), failure_(failure) {}

  explicit operator bool() const { return !failed_; }
  const ReadFailure& Failure() const { return failure_; }

 private:
  bool failed_ = false;
  ReadFailure failure_;
};

}  // namespace brannock::typelib
