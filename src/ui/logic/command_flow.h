// The pieces every window command is built from, the same in both front
// ends: the busy state (busy_scope.h), the message boxes and the general
// error report as the front end shows them (UserMessages), and Guarded,
// which hands whatever escapes a handler to the report. A command's
// sequence is written once in ui/logic from these (object_commands.h,
// viewer_commands.h, typelib_view.h); a front end supplies its controls.
//
// The rules the sequences keep:
// - a box that belongs to the work (an instance that refuses its type
//   information) shows while the status text is still up, with the normal
//   cursor (BusyScope::RestoreCursor);
// - a failure that ends the work (a library that does not load, an error
//   that escapes) shows after the busy state has ended: BusyScope ends on
//   the way out, then the box or the report.
#pragma once

#include <exception>

#include "common/text.h"

namespace brannock::ui {

enum class BoxKind { Error, Information };

// A box's caption: the given one, else "Error" or "Information".
inline Text BoxCaption(BoxKind kind, TextView caption) {
  if (!caption.empty()) return Text(caption);
  return kind == BoxKind::Error ? u"Error" : u"Information";
}

// What a front end shows outside a window's own controls.
class UserMessages {
 public:
  virtual ~UserMessages() = default;
  // The error or information box with its default caption ("Error",
  // "Information"), one OK button, waiting for the user.
  virtual void ShowBox(BoxKind kind, TextView text) = 0;
  // The general error report (nothing for SilentAbort).
  virtual void ReportError(const std::exception_ptr& error) = 0;
  // As a reporter for Guarded.
  void operator()(const std::exception_ptr& error) { ReportError(error); }
};

// UserMessages over a front end's functions: its error box, its
// information box (text, caption, whether to restore a minimized window
// first) and its report.
class MessageFunctions : public UserMessages {
 public:
  using Box = void (*)(TextView text, TextView caption, bool restoreFirst);
  using Report = void (*)(const std::exception_ptr& error);
  MessageFunctions(Box error, Box information, Report report) : error_(error), information_(information), report_(report) {}
  void ShowBox(BoxKind kind, TextView text) override { (kind == BoxKind::Error ? error_ : information_)(text, {}, false); }
  void ReportError(const std::exception_ptr& error) override { report_(error); }

 private:
  Box error_;
  Box information_;
  Report report_;
};

// Runs `handler`; whatever it raises goes to `report`: anything callable
// with a std::exception_ptr (a front end's ReportError, a UserMessages).
template <class Report, class Handler>
void Guarded(Report&& report, Handler&& handler) {
  try {
    handler();
  } catch (...) {
    report(std::current_exception());
  }
}

}  // namespace brannock::ui
