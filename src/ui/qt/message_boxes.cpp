#include "ui/qt/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

QPointer<QWidget>& MainWindow() {
  static QPointer<QWidget> window;
  return window;
}

void ShowBox(BoxKind kind, TextView text, TextView caption, bool restoreFirst) {
  const Text title = BoxCaption(kind, caption);
  if (Hook()) {
    Hook()(kind, Text(text), title);
    return;
  }
  if (restoreFirst)
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isMinimized()) w->showNormal();
  QMessageBox box(kind == BoxKind::Error ? QMessageBox::Critical : QMessageBox::Information, ToQt(title), ToQt(text),
                  QMessageBox::Ok, GetBoxOwnerWindow());
  box.exec();
}

}  // namespace

void ShowErrorBox(TextView text, TextView caption, bool restoreFirst) {
  ShowBox(BoxKind::Error, text, caption, restoreFirst);
}

void ShowInfoBox(TextView text, TextView caption, bool restoreFirst) {
  ShowBox(BoxKind::Information, text, caption, restoreFirst);
}

QWidget* GetBoxOwnerWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return MainWindow().data();
}

void SetMainWindow(QWidget* window) { MainWindow() = window; }

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace brannock::ui
