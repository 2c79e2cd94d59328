// The two message boxes of the program: error and information, each with one
// OK button, owned by the active window, waiting for the user.
#pragma once

#include <functional>

#include "common/text.h"
#include "ui/logic/command_flow.h"  // BoxKind

class QWidget;

namespace brannock::ui {

// An empty caption becomes "Error" or "Information". With `restoreFirst` the
// application is first brought back from its minimized state.
void ShowErrorBox(TextView text, TextView caption = {}, bool restoreFirst = false);
void ShowInfoBox(TextView text, TextView caption = {}, bool restoreFirst = false);

// The active window; else the main window; else none.
QWidget* GetBoxOwnerWindow();

// The main window, which owns the boxes when no window is active.
void SetMainWindow(QWidget* window);

// Replaces the boxes (tests, and hosts without a display): the hook gets
// the kind, the text and the caption after the default caption was applied.
using MessageBoxHook = std::function<void(BoxKind, const Text& text, const Text& caption)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace brannock::ui
