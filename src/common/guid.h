// GUIDs and their registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <array>
#include <cstdint>

#include "common/text.h"

namespace brannock {

struct Guid {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4{};

  bool operator==(const Guid&) const = default;
};

// The 38-character form with braces and upper-case digits (StringFromCLSID).
Text GuidToText(const Guid& g);

// Parses the braced form; false on anything else.
bool TryTextToGuid(TextView s, Guid* g);

// As TryTextToGuid, but raises ConversionError("Invalid class string") on
// failure, as the platform's CLSIDFromString conversion does.
Guid TextToGuid(TextView s);

// Reads a GUID stored little-endian in 16 bytes (as in files and registry data).
Guid GuidFromBytes(const uint8_t* bytes);

}  // namespace brannock
