// The program's own version information: on Windows its version resource,
// elsewhere the version the build was made with.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock::platform {

struct TVersionInfo {
  // The file version's four numbers: major, minor, release, build.
  uint16_t Major = 0;
  uint16_t Minor = 0;
  uint16_t Release = 0;
  uint16_t Build = 0;
  bool PreRelease = false;
  Text ProductName;
  Text LegalCopyright;
  Text Comments;
  Text FileDescription;
};

TVersionInfo ReadVersionInfo();

// The information of a build without a version resource: the numbers of
// `versionText` ("1.3.0.0"; missing or unreadable parts are 0) and the
// program's fixed strings.
TVersionInfo BuildVersionInfo(TextView versionText);

}  // namespace brannock::platform
