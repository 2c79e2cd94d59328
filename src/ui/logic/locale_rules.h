// The locale set-up's date rule: on a Slovak locale (1051) without a date
// separator, dates are written as "d.M.yyyy".
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock::ui {

inline constexpr uint32_t kSlovakLocale = 1051;

struct DateFormat {
  Text separator;
  Text shortFormat;
};

DateFormat ApplySlovakDateRule(uint32_t localeId, DateFormat fromLocale);

}  // namespace brannock::ui
