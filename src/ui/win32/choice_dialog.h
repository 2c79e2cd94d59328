// A small modal list to choose one item from (the libraries of a file that
// holds several): a prompt above the list, OK and Cancel below it. Enter
// or a double click takes the selected item, Esc cancels.
#pragma once

#include <windows.h>

#include <optional>

#include "common/text.h"

namespace brannock::ui {

inline constexpr wchar_t kChoiceDialogClass[] = L"BrannockChoice";

// The index of the chosen item, the first one selected at the start; none
// when the user cancels or closes the window.
std::optional<size_t> ChooseFromList(HWND owner, TextView caption, TextView prompt, const TextList& items);

}  // namespace brannock::ui
