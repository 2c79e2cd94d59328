// The modal showing of a window whose keys need a look before dispatch:
// the viewer's accelerators and its modeless Find dialog, the About
// dialog's Enter and Esc.
#pragma once

#include <windows.h>

#include <functional>

namespace brannock::ui {

// Shows `window` and runs messages until it is destroyed, with `owner`
// disabled meanwhile (enabled and activated again on the way out).
// `filter` sees each message first and returns true when it handled it.
void RunModalWithKeys(HWND owner, HWND window, const std::function<bool(MSG&)>& filter);

}  // namespace brannock::ui
