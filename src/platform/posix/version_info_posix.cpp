#include "common/text.h"
#include "common/version.h"
#include "platform/version_info.h"

namespace brannock::platform {

TVersionInfo ReadVersionInfo() { return BuildVersionInfo(Utf8ToUtf16(BRANNOCK_VERSION_TEXT)); }

}  // namespace brannock::platform
