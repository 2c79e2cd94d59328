// The text of the general error report and of the application's locale
// rules, which need no window.
#pragma once

#include <exception>
#include <optional>

#include "common/text.h"

namespace brannock::ui {

// The message of the innermost error that has one (std::nested_exception
// chains), with a full stop appended when its last character's code is
// above that of the full stop; "Unknown error." for an error of a type
// without a message. Nothing for SilentAbort: that error shows no report.
std::optional<Text> ErrorReportText(const std::exception_ptr& error);

// The full-stop rule alone.
Text WithFullStop(Text message);

}  // namespace brannock::ui
