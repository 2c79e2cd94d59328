// Texts of the viewer's status bar, gutter and print job.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock::ui {

inline constexpr char16_t kReadyText[] = u"Ready";
inline constexpr char16_t kPrintingText[] = u"Printing...";
inline constexpr char16_t kViewerCaption[] = u"ITypeLib Viewer";
inline constexpr char16_t kTextNotFound[] = u"Text not found.";

// "Line: %d   Col: %d   Lines: %d" with the caret's line and column counted
// from 1.
Text CaretStatusText(int64_t line, int64_t column, int64_t lineCount);

// The gutter numbers the lines from 0: the editor's first line shows "0".
Text GutterLineText(int64_t zeroBasedLine);

// "%s - [%s]": the application title and the library's unit name.
Text PrintJobTitle(TextView applicationTitle, TextView unitName);

}  // namespace brannock::ui
