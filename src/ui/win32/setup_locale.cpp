#include "ui/win32/setup_locale.h"

#include <windows.h>

#include <clocale>

namespace brannock::ui {

void SetupLocale() {
  SetThreadLocale(GetUserDefaultLCID());
  std::setlocale(LC_ALL, "");
}

}  // namespace brannock::ui
