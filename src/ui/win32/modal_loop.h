// The modal message loop every owned window of the front end runs.
#pragma once

#include <windows.h>

#include <functional>

namespace brannock::ui {

// Shows `window` and runs messages until the window ends the loop
// (EndModal) or is destroyed, with `owner` disabled meanwhile. On the way
// out the owner is enabled before the window is destroyed, so that Windows
// gives the activation back to the owner rather than to another program's
// window; that holds as well when `filter` raises, whose error goes on to
// the caller. `filter`, when given, sees each message before it is
// translated and dispatched and returns true when it handled it (a
// window's accelerators, a modeless dialog's keys, the keys of a control).
void RunModal(HWND owner, HWND window, const std::function<bool(MSG&)>& filter = {});

// Closes a modal window: the loop that runs it enables the owner and then
// destroys the window. A window without a running loop is destroyed at
// once.
void EndModal(HWND window);

}  // namespace brannock::ui
