#include "registry/registry_reader.h"

#include "registry/memory_store.h"
#include "registry/registry_error.h"

namespace brannock::registry {

RegistryReader::RegistryReader(RegistryBackend& backend, RootKey root, uint32_t access)
    : backend_(&backend), root_(root), access_(access) {}

RegistryReader RegistryReader::ProcessView(RegistryBackend& backend, RootKey root) {
  return RegistryReader(backend, root, Access::KeyRead);
}

RegistryReader RegistryReader::NativeView(RegistryBackend& backend, RootKey root) {
  return RegistryReader(backend, root, Access::KeyRead | (backend.RunsUnderWow64() ? Access::Wow64_64Key : 0u));
}

bool RegistryReader::OpenKeyReadOnly(TextView path) {
  CloseKey();
  const uint32_t view = access_ & Access::ViewMask;
  for (uint32_t mask : {Access::KeyRead, Access::ReadEnumerate, Access::QueryValue}) {
    key_ = backend_->Open(root_, path, mask | view);
    if (key_) return true;
  }
  return false;
}

bool RegistryReader::OpenKey(TextView path) {
  CloseKey();
  key_ = backend_->Open(root_, path, access_);
  return key_ != nullptr;
}

void RegistryReader::CloseKey() { key_.reset(); }

void RegistryReader::GetKeyNames(TextList& list) {
  list.clear();
  if (key_) list = key_->SubkeyNames();
}

void RegistryReader::GetValueNames(TextList& list) {
  list.clear();
  if (key_) list = key_->ValueNames();
}

bool RegistryReader::GetDataInfo(TextView name, uint32_t* type, uint32_t* size) {
  return key_ && key_->QueryValue(name, type, size, nullptr);
}

bool RegistryReader::GetData(TextView name, uint32_t* type, Bytes* data) {
  return key_ && key_->QueryValue(name, type, nullptr, data);
}

bool RegistryReader::ValueExists(TextView name) { return GetDataInfo(name, nullptr, nullptr); }

bool RegistryReader::KeyExists(TextView path) {
  return backend_->Open(root_, path, Access::ReadEnumerate | (access_ & Access::ViewMask)) != nullptr;
}

Text TextUpToNul(const Bytes& data) {
  // Written into place and cut at the first NUL, not grown unit by unit.
  Text s(data.size() / 2, u'\0');
  size_t n = 0;
  for (; n < s.size(); ++n) {
    const auto c = static_cast<char16_t>(data[2 * n] | data[2 * n + 1] << 8);
    if (c == 0) break;
    s[n] = c;
  }
  s.resize(n);
  return s;
}

Text RegistryReader::ReadString(TextView name) {
  uint32_t type = 0;
  uint32_t size = 0;
  if (!GetDataInfo(name, &type, &size) || size == 0) return Text();
  if (type != RegType::Sz && type != RegType::ExpandSz) throw RegistryError::InvalidDataType(name);
  Bytes data;
  if (!GetData(name, &type, &data)) return Text();
  return TextUpToNul(data);
}

bool RegistryReader::OpenKeyForWriting(TextView path) {
  CloseKey();
  key_ = backend_->Create(root_, path);
  return key_ != nullptr;
}

void RegistryReader::WriteInteger(TextView name, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  Bytes b{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
  if (!key_) throw RegistryError::FailedToGetData(name);
  key_->SetValue(name, RegType::Dword, b);
}

void RegistryReader::WriteString(TextView name, TextView value) {
  if (!key_) throw RegistryError::FailedToGetData(name);
  key_->SetValue(name, RegType::Sz, MemoryStore::TextData(value));
}

int32_t RegistryReader::ReadInteger(TextView name) {
  uint32_t type = 0;
  Bytes data;
  if (!GetData(name, &type, &data)) return 0;
  if (data.size() > 4) throw RegistryError::FailedToGetData(name);
  if (type != RegType::Dword) throw RegistryError::InvalidDataType(name);
  uint32_t v = 0;
  for (size_t i = 0; i < data.size(); ++i) v |= static_cast<uint32_t>(data[i]) << (8 * i);
  return static_cast<int32_t>(v);
}

}  // namespace brannock::registry
