// The findings of Object > "Check Registrations" on Win32: a list view
// with the severity's image and the object, the reason, the key path as
// each row's tip, the count line and a Close button. The images are the
// system's error, warning and information images, at the image index of
// analysis::Severity (0, 1, 2). A double click on a
// row (or Enter) closes it with that row; Esc or Close with none.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "ui/logic/check_window.h"

namespace brannock::ui {

inline constexpr wchar_t kCheckListClass[] = L"BrannockCheckList";

// Runs the window modally over `owner`; the row chosen, none when closed
// otherwise.
std::optional<size_t> ShowCheckList(HWND owner, const std::vector<CheckRow>& rows, const Text& count);

}  // namespace brannock::ui
