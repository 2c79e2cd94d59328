// The detail pane's " Security " page, the same in both front ends: shown
// for an application ID and for a class that names one, with who may
// launch and access the server in words (analysis/com_permissions.h).
#pragma once

#include "analysis/com_permissions.h"

namespace brannock::ui {

inline constexpr char16_t kSecurityTabCaption[] = u" Security ";

struct SecurityPage {
  bool shown = false;  // false: the page is not offered for this object
  Text text;           // the page's lines, each ended by CR LF
};

// `classes` is HKEY_CLASSES_ROOT in the view shown, `store` the whole
// registry (the machine's COM settings).
SecurityPage SecurityPageOf(const TObjectData& object, registry::RegistryBackend& classes,
                            registry::RegistryBackend& store);

}  // namespace brannock::ui
