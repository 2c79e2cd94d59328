#include "ui/qt/error_report.h"

#include <QMessageBox>

#include "ui/logic/error_report_text.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/message_boxes.h"

namespace brannock::ui {

namespace {

ErrorReportHook& Hook() {
  static ErrorReportHook hook;
  return hook;
}

}  // namespace

void SetErrorReportHook(ErrorReportHook hook) { Hook() = std::move(hook); }

UserMessages& ProgramMessages() {
  static MessageFunctions messages(ShowErrorBox, ShowInfoBox, ReportError);
  return messages;
}

void ReportError(const std::exception_ptr& error) {
  const std::optional<Text> text = ErrorReportText(error);
  if (!text) return;
  if (Hook()) {
    Hook()(*text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ToQt(kApplicationTitle), ToQt(*text), QMessageBox::Ok, GetBoxOwnerWindow());
  box.exec();
}

BrannockApplication::BrannockApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool BrannockApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportError(std::current_exception());
    return true;
  }
}

}  // namespace brannock::ui
