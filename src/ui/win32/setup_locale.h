// The locale set-up at start: the thread's locale becomes the user's
// default locale and the C library's formats follow it.
#pragma once

namespace brannock::ui {

void SetupLocale();

}  // namespace brannock::ui
