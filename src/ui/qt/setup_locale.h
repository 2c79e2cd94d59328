// The locale set-up at start: the program's formats follow the user's locale
// from then on (a later change of the regional settings is not followed).
#pragma once

#include "common/text.h"

namespace brannock::ui {

void SetupLocale();

// The short date format chosen at start ("d.M.yyyy" on a Slovak locale
// without a date separator).
const Text& ShortDateFormat();

}  // namespace brannock::ui
