#include "ui/logic/locale_rules.h"

namespace brannock::ui {

DateFormat ApplySlovakDateRule(uint32_t localeId, DateFormat fromLocale) {
  if (localeId == kSlovakLocale && fromLocale.separator.empty()) return {u".", u"d.M.yyyy"};
  return fromLocale;
}

}  // namespace brannock::ui
