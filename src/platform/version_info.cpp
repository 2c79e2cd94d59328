#include "platform/version_info.h"

#include "common/text_rules.h"

namespace brannock::platform {

TVersionInfo BuildVersionInfo(TextView versionText) {
  TVersionInfo info;
  uint16_t* parts[] = {&info.Major, &info.Minor, &info.Release, &info.Build};
  const TextList texts = Split(versionText, u'.');
  for (size_t i = 0; i < texts.size() && i < 4; ++i) {
    int32_t value = 0;
    if (TryStrToInt(texts[i], &value) && value >= 0 && value <= 0xFFFF) *parts[i] = static_cast<uint16_t>(value);
  }
  info.ProductName = u"Brannock";
  info.FileDescription = u"Brannock";
  info.LegalCopyright = u"Copyright \u00A9 2026 The Brannock developers";
  return info;
}

}  // namespace brannock::platform
