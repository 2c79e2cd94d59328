// The general error report: an error that escapes a window handler ends the
// handler and is shown in a box captioned with the application title; the
// program goes on. SilentAbort shows nothing. Handlers run in
// Guarded(ReportError, ...) (ui/logic/command_flow.h).
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

#include "common/text.h"
#include "ui/logic/command_flow.h"
#include "ui/logic/main_window_text.h"  // kApplicationTitle, the boxes' caption

namespace brannock::ui {

void ReportError(const std::exception_ptr& error);

// The boxes of message_boxes.h and this report, for the commands of
// ui/logic.
UserMessages& ProgramMessages();

// Replaces the box (tests; hosts without a display print to stderr).
using ErrorReportHook = std::function<void(const Text& text)>;
void SetErrorReportHook(ErrorReportHook hook);

// The application object: its event delivery is the last place where an
// error that escaped an event handler is caught and reported.
class BrannockApplication : public QApplication {
 public:
  BrannockApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace brannock::ui
