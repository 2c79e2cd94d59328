#include "ui/qt/setup_locale.h"

#include <QLocale>
#include <clocale>

#include "ui/logic/locale_rules.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

Text& DateFormatSetting() {
  static Text format;
  return format;
}

// The first character of a date format that is not a letter.
Text DateSeparator(const QString& format) {
  for (QChar c : format)
    if (!c.isLetter() && c != '\'') return Text(1, c.unicode());
  return Text();
}

}  // namespace

void SetupLocale() {
  std::setlocale(LC_ALL, "");
  const QLocale user = QLocale::system();
  QLocale::setDefault(user);
  const QString shortFormat = user.dateFormat(QLocale::ShortFormat);
  const uint32_t id = user.language() == QLocale::Slovak ? kSlovakLocale : 0;
  DateFormatSetting() = ApplySlovakDateRule(id, {DateSeparator(shortFormat), FromQt(shortFormat)}).shortFormat;
}

const Text& ShortDateFormat() { return DateFormatSetting(); }

}  // namespace brannock::ui
