#include "ui/qt/setup_locale.h"

#include <QLocale>
#include <clocale>

namespace brannock::ui {

void SetupLocale() {
  std::setlocale(LC_ALL, "");
  QLocale::setDefault(QLocale::system());
}

}  // namespace brannock::ui
