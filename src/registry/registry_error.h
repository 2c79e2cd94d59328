// The registry error: raised when a value is read as a type it does not have,
// or when its data does not fit the buffer given.
#pragma once

#include "common/error.h"

namespace brannock::registry {

class RegistryError : public Error {
 public:
  using Error::Error;

  // "Invalid data type for '%s'"
  static RegistryError InvalidDataType(TextView valueName);
  // "Failed to get data for '%s'"
  static RegistryError FailedToGetData(TextView valueName);
};

}  // namespace brannock::registry
