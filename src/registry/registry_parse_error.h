// The error of the registry file readers (.reg exports, Wine registry files,
// hives): a file that cannot be read or parsed. The message names the file,
// the line when there is one, and what was wrong:
//   demo.reg:12: invalid hex byte "zz"
#pragma once

#include <cstddef>
#include <string_view>

#include "common/error.h"

namespace brannock::registry {

class RegistryParseError : public Error {
 public:
  using Error::Error;

  // "<source>:<line>: <what>"; line 0 leaves the line out ("<source>: <what>").
  static RegistryParseError At(TextView source, size_t line, std::string_view what);
};

}  // namespace brannock::registry
