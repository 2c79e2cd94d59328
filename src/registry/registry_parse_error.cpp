#include "registry/registry_parse_error.h"

#include <string>

namespace brannock::registry {

RegistryParseError RegistryParseError::At(TextView source, size_t line, std::string_view what) {
  Text message(source);
  if (line != 0) message += u":" + UIntToText(line);
  message += u": ";
  message += Utf8ToUtf16(what);
  return RegistryParseError(std::move(message));
}

}  // namespace brannock::registry
