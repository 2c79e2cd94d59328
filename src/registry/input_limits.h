// Limits that keep a damaged or hostile registry file from taking all of
// the machine's memory and time, in the spirit of hivex's own: the size of a
// registry file, the subkeys and values of one key, the data of one value.
// Every file back end enforces them with an error that names the limit.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "registry/memory_store.h"

namespace brannock::registry {

inline constexpr uint64_t kMaxRegistryFileBytes = uint64_t{1} << 30;  // 1 GiB
// Windows itself has no fixed number; real machines hold some 20,000
// classes and 30,000 interfaces below one key.
inline constexpr size_t kMaxSubkeysPerKey = 1'000'000;
inline constexpr size_t kMaxValuesPerKey = 10'000;
inline constexpr size_t kMaxValueBytes = size_t{16} << 20;  // 16 MiB

// A limit that the input passed; the file readers report it with the file
// and line.
class InputLimitExceeded : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "the file is larger than 1 GiB (N bytes)" when `size` passes the limit of
// registry files; empty otherwise.
std::string RegistryFileSizeError(uint64_t size);

// Raises InputLimitExceeded when a value's data of `bytes` bytes passes
// kMaxValueBytes.
void CheckValueSize(size_t bytes);

// The child `name` of `parent`, added when missing. Raises
// InputLimitExceeded when a new child would pass `maxSubkeys`.
MemoryStore::Node* AddChildWithinLimits(MemoryStore::Node& parent, TextView name,
                                        size_t maxSubkeys = kMaxSubkeysPerKey);

// Sets a value of `key`; raises InputLimitExceeded when its data passes
// kMaxValueBytes or a new value would pass `maxValues`.
void SetValueWithinLimits(MemoryStore::Node& key, TextView name, uint32_t type, Bytes data,
                          size_t maxValues = kMaxValuesPerKey);

}  // namespace brannock::registry
