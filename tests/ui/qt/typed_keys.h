// Typing with the keys' own time stamps, as the platform stamps them:
// type-ahead groups what was typed less than a second apart by those times,
// so a test says when each key was typed instead of waiting.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QtTest>

namespace brannock::ui::testing {

// Each character of `text` pressed and released, one millisecond apart,
// the first at `timeMs`.
inline void TypeAt(QWidget* widget, const QString& text, ulong timeMs) {
  for (const QChar c : text) {
    const auto key = QTest::asciiToKey(c.toLatin1());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    press.setTimestamp(timeMs);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    release.setTimestamp(timeMs++);
    QApplication::sendEvent(widget, &release);
  }
}

}  // namespace brannock::ui::testing
