// The system's UTF-16 text and Qt's: both UTF-16, so the conversions copy
// code units unchanged.
#pragma once

#include <QString>

#include "common/text.h"

namespace brannock::ui {

inline QString ToQt(TextView s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
inline Text FromQt(const QString& s) { return s.toStdU16String(); }

}  // namespace brannock::ui
