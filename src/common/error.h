// The system's exception types. Expected failures are values (bool, empty
// text, HRESULT-style codes); these are for the unexpected ones, which end an
// operation and reach the general error report with their UTF-16 message.
#pragma once

#include <exception>
#include <string>

#include "common/text.h"

namespace brannock {

class Error : public std::exception {
 public:
  explicit Error(Text message) : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}
  const Text& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  Text message_;
  std::string utf8_;
};

// Bad GUID text and similar conversions ("Invalid class string").
class ConversionError : public Error {
 public:
  using Error::Error;
};

// A list file or settings file that cannot be written.
class FileError : public Error {
 public:
  using Error::Error;
};

// Raised only to end an operation silently: the error report shows nothing.
class SilentAbort : public Error {
 public:
  SilentAbort() : Error(Text()) {}
};

}  // namespace brannock
