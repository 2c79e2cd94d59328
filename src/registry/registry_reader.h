// RegistryReader: a short-lived reader with a root key, an access mask
// (carrying the view flag) and at most one open key. Opening a key replaces
// the one opened before. Nothing is cached: every call asks the store anew.
#pragma once

#include <memory>

#include "registry/registry_backend.h"

namespace brannock::registry {

class RegistryReader {
 public:
  RegistryReader(RegistryBackend& backend, RootKey root, uint32_t access);

  // The process view (no view flag): list builders, key enumerations of the
  // detail resolution, the detail pane's registry tree.
  static RegistryReader ProcessView(RegistryBackend& backend, RootKey root = RootKey::ClassesRoot);
  // The native view: KEY_WOW64_64KEY added when the process runs under WOW64.
  static RegistryReader NativeView(RegistryBackend& backend, RootKey root = RootKey::ClassesRoot);

  RegistryReader(RegistryReader&&) = default;
  RegistryReader& operator=(RegistryReader&&) = delete;

  uint32_t AccessMask() const { return access_; }

  // Tries KEY_READ, then 0x20009, then KEY_QUERY_VALUE, each with the view
  // flag; false, with no key open, when all fail.
  bool OpenKeyReadOnly(TextView path);
  // One attempt with the reader's own access mask; never creates a key.
  bool OpenKey(TextView path);
  void CloseKey();
  bool HasOpenKey() const { return key_ != nullptr; }

  // Cleared first; then the direct subkey names in enumeration order.
  void GetKeyNames(TextList& list);
  // Cleared first; then the value names in stored order ("" for a set
  // default value).
  void GetValueNames(TextList& list);

  // REG_SZ and REG_EXPAND_SZ text up to its first NUL, not expanded; empty
  // when the value is missing or has no data; RegistryError for any other
  // type.
  Text ReadString(TextView name);
  bool ValueExists(TextView name);
  // Opens with 0x20009 and the view flag and closes at once; the reader's
  // own open key is not touched.
  bool KeyExists(TextView path);
  // Type and data size; false when the value is missing.
  bool GetDataInfo(TextView name, uint32_t* type, uint32_t* size);
  // The value's bytes; false when the value is missing.
  bool GetData(TextView name, uint32_t* type, Bytes* data);

  // Settings (HKEY_CURRENT_USER): open or create a key for writing, write
  // and read numbers and texts. OpenKeyForWriting is false when the key
  // cannot be created.
  bool OpenKeyForWriting(TextView path);
  void WriteInteger(TextView name, int32_t value);
  void WriteString(TextView name, TextView value);
  // RegistryError when the value exists with another type.
  int32_t ReadInteger(TextView name);

 private:
  RegistryBackend* backend_;
  RootKey root_;
  uint32_t access_;
  std::unique_ptr<OpenedKey> key_;
};

// REG_SZ data as text: UTF-16LE up to the first NUL or the end of the data
// (an odd last byte is ignored).
Text TextUpToNul(const Bytes& data);

}  // namespace brannock::registry
