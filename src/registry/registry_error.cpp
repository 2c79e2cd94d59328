#include "registry/registry_error.h"

namespace brannock::registry {

RegistryError RegistryError::InvalidDataType(TextView valueName) {
  return RegistryError(u"Invalid data type for '" + Text(valueName) + u"'");
}

RegistryError RegistryError::FailedToGetData(TextView valueName) {
  return RegistryError(u"Failed to get data for '" + Text(valueName) + u"'");
}

}  // namespace brannock::registry
