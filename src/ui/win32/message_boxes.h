// The program's two message boxes (error and information, one OK button,
// waiting for the user) and the general error report that catches what
// escapes a window handler.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "common/text.h"
#include "ui/logic/command_flow.h"

namespace brannock::ui {

// An empty caption becomes "Error" or "Information". With `restoreFirst` a
// minimized main window is restored before the box shows.
void ShowErrorBox(TextView text, TextView caption = {}, bool restoreFirst = false);
void ShowInfoBox(TextView text, TextView caption = {}, bool restoreFirst = false);

// The active window of this thread; else the main window; else none.
HWND GetBoxOwnerWindow();
void SetMainWindow(HWND window);

// Replaces the boxes (tests): the hook gets the kind, the text and the
// caption after the default caption was applied.
using MessageBoxHook = std::function<void(BoxKind, const Text& text, const Text& caption)>;
void SetMessageBoxHook(MessageBoxHook hook);

// The general error report: the innermost message with its full stop, in a
// box captioned with the application title. SilentAbort shows nothing.
// Handlers run in Guarded(ReportError, ...) (ui/logic/command_flow.h).
void ReportError(const std::exception_ptr& error);

using ErrorReportHook = std::function<void(const Text& text)>;
void SetErrorReportHook(ErrorReportHook hook);

// The boxes and the report, for the commands of ui/logic.
UserMessages& ProgramMessages();

}  // namespace brannock::ui
