// The locale set-up at start: the program's formats follow the user's locale
// from then on (a later change of the regional settings is not followed).
#pragma once

namespace brannock::ui {

void SetupLocale();

}  // namespace brannock::ui
