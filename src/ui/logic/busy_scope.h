// The busy state of a long operation, the same in every front end: the wait
// cursor and a status text while the work runs, the window repainted at once
// so that both show, and on every way out (also when the work raises) first
// the default cursor, then "Ready". A front end implements BusyDisplay for
// its window; the order lives here.
#pragma once

#include "common/text.h"
#include "ui/logic/viewer_status.h"

namespace brannock::ui {

// kReadyText and kPrintingText are the viewer's (viewer_status.h).
inline constexpr char16_t kWorkingText[] = u"Working...";

// What a window shows while it is busy.
class BusyDisplay {
 public:
  virtual ~BusyDisplay() = default;
  virtual void SetWaitCursor(bool wait) = 0;
  virtual void SetStatusText(TextView text) = 0;
  // Paints the window now, before the work blocks the event loop.
  virtual void Repaint() = 0;
};

class BusyScope {
 public:
  enum class Cursor { Wait, Unchanged };

  // Starts the busy state: the wait cursor (with Cursor::Wait), then the
  // status text and a repaint so that it shows (when a text is given).
  BusyScope(BusyDisplay& display, Cursor cursor, TextView status = kWorkingText);
  ~BusyScope() { End(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  // Ends it before the scope does (to show a failure once the work is
  // over): the default cursor back, then "Ready" when a status text was
  // shown. Runs once.
  void End();
  // The default cursor back while the status text stays (a box that belongs
  // to the work shows with the normal cursor). End does not set it again.
  void RestoreCursor();

 private:
  BusyDisplay& display_;
  bool cursor_;
  bool status_;
  bool active_ = true;
};

}  // namespace brannock::ui
