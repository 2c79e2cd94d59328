// Helpers every window of the front end uses: a modal message loop for an
// owned window, and the hourglass cursor for a stretch of work.
#pragma once

#include <windows.h>

#include <functional>

namespace brannock::ui {

// Shows `window` and runs messages until it is destroyed, with `owner`
// disabled meanwhile (enabled and activated again on the way out).
// `filter`, when given, sees each message before it is translated and
// dispatched and returns true when it handled it (a window's accelerators,
// a modeless dialog's keys, the keys of a control).
void RunModal(HWND owner, HWND window, const std::function<bool(MSG&)>& filter = {});

// The hourglass until destroyed or restored, whichever comes first.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor() { Restore(); }
  void Restore();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_ = nullptr;
  bool active_ = true;
};

}  // namespace brannock::ui
