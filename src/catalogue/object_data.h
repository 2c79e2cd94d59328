// One catalogue object (object class, type library, application ID or
// interface) and the ordered list of them.
#pragma once

#include <cstdint>
#include <vector>

#include "common/text.h"

namespace brannock {

enum class TObjectType : uint8_t { otCLSID = 0, otTypeLib = 1, otAppID = 2, otInterface = 3 };

struct TObjectData {
  Text Name;
  Text GUID;
  Text Server;
  Text TypeLib;
  Text CLSID;
  Text ProgId;
  Text AppId;
  uint32_t MajorVersion = 0;
  uint32_t MinorVersion = 0;
  Text Bitmap;
  Text DefaultIcon;
  TObjectType Typ = TObjectType::otCLSID;

  bool operator==(const TObjectData&) const = default;
};

// Indexed from 0, in registry enumeration order; only ever replaced whole.
using TObjects = std::vector<TObjectData>;

}  // namespace brannock
