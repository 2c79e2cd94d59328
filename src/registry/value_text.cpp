#include "registry/value_text.h"

#include "platform/environment_list.h"
#include "registry/registry_error.h"
#include "registry/registry_reader.h"

namespace brannock::registry {

namespace {

Text HexBytes(const Bytes& data) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  Text s;
  if (data.empty()) return s;
  s.reserve(data.size() * 3);
  for (uint8_t b : data) {
    s.push_back(kDigits[b >> 4]);
    s.push_back(kDigits[b & 0xF]);
    s.push_back(u' ');
  }
  s.pop_back();
  return s;
}

Text CharBytes(const Bytes& data) {
  Text s;
  s.reserve(data.size());
  for (uint8_t b : data) s.push_back(b >= 0x20 ? static_cast<char16_t>(b) : u'.');
  return s;
}

}  // namespace

Text RegValueDataText(TextView valueName, uint32_t type, const Bytes& data, bool asHex,
                      const TextList& environment) {
  switch (type) {
    case RegType::Sz:
      return TextUpToNul(data);
    case RegType::ExpandSz: {
      Text raw = TextUpToNul(data);
      // The expansion replaces the text only when it fits the buffer.
      Text expanded = platform::ExpandWithEntries(raw, environment);
      return expanded.size() < kExpandBufferChars ? expanded : raw;
    }
    case RegType::Dword:
    case RegType::DwordBigEndian: {
      // The platform refuses to put more than four bytes into the integer's
      // buffer; shorter data reads as far as it goes.
      if (data.size() > 4) throw RegistryError::FailedToGetData(valueName);
      uint32_t v = 0;
      for (size_t i = 0; i < data.size(); ++i) v |= static_cast<uint32_t>(data[i]) << (8 * i);
      return IntToText(static_cast<int32_t>(v));
    }
    case RegType::MultiSz:
      if (data.size() > kValueBufferBytes) throw RegistryError::InvalidDataType(valueName);
      return TextUpToNul(data);
    default:
      if (data.size() > kValueBufferBytes) throw RegistryError::InvalidDataType(valueName);
      return asHex ? HexBytes(data) : CharBytes(data);
  }
}

Text GetRegValueText(RegistryBackend& backend, RootKey root, TextView keyPath, TextView valueName, bool asHex) {
  RegistryReader reader = RegistryReader::NativeView(backend, root);
  if (!reader.OpenKey(keyPath) || !reader.ValueExists(valueName)) return Text();
  uint32_t type = 0;
  Bytes data;
  if (!reader.GetData(valueName, &type, &data)) return Text();
  // Expanded with the environment of the registry's own machine, never the
  // host's.
  const TextList environment = type == RegType::ExpandSz ? backend.WindowsEnvironment() : TextList();
  return RegValueDataText(valueName, type, data, asHex, environment);
}

void GetRegKeyNames(RegistryBackend& backend, RootKey root, TextView keyPath, TextList& list) {
  RegistryReader reader = RegistryReader::NativeView(backend, root);
  if (reader.OpenKey(keyPath)) reader.GetKeyNames(list);
}

}  // namespace brannock::registry
