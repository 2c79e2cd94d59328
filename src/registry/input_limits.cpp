#include "registry/input_limits.h"

namespace brannock::registry {

std::string RegistryFileSizeError(uint64_t size) {
  if (size <= kMaxRegistryFileBytes) return std::string();
  return "the file is larger than the 1 GiB a registry file may have (" + std::to_string(size) + " bytes)";
}

MemoryStore::Node* AddChildWithinLimits(MemoryStore::Node& parent, TextView name, size_t maxSubkeys) {
  if (parent.Children().size() >= maxSubkeys && parent.FindChild(name) == nullptr)
    throw InputLimitExceeded("a key has more than " + std::to_string(maxSubkeys) + " subkeys");
  return parent.AddChild(name);
}

void CheckValueSize(size_t bytes) {
  if (bytes > kMaxValueBytes)
    throw InputLimitExceeded("a value has more than " + std::to_string(kMaxValueBytes) + " bytes of data");
}

void SetValueWithinLimits(MemoryStore::Node& key, TextView name, uint32_t type, Bytes data, size_t maxValues) {
  CheckValueSize(data.size());
  if (key.Values().size() >= maxValues && key.FindValue(name) == nullptr)
    throw InputLimitExceeded("a key has more than " + std::to_string(maxValues) + " values");
  key.SetValue(name, type, std::move(data));
}

}  // namespace brannock::registry
