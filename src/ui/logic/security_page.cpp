#include "ui/logic/security_page.h"

namespace brannock::ui {

SecurityPage SecurityPageOf(const TObjectData& object, registry::RegistryBackend& classes,
                            registry::RegistryBackend& store) {
  SecurityPage page;
  const analysis::ObjectSecurity security = analysis::SecurityOf(object, classes, store);
  if (!security.applies) return page;
  page.shown = true;
  for (const Text& line : analysis::SecurityLines(security)) page.text += line + u"\r\n";
  return page;
}

}  // namespace brannock::ui
