// The progress of reading the registered type libraries on Win32 (for the
// References page): a small window over the main window with the count
// ("Reading type libraries: 41 of 213"), a progress bar and Cancel. The
// reading runs on the window's thread; each step lets the window handle
// what is waiting (its painting, a click on Cancel, Esc), with the owner
// disabled meanwhile and enabled again before the window goes, so the
// activation returns to it.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/logic/references_tab.h"

namespace brannock::ui {

inline constexpr wchar_t kLibraryProgressClass[] = L"BrannockLibraryProgress";

std::unique_ptr<LibraryProgress> OpenLibraryProgressWindow(HWND owner);

}  // namespace brannock::ui
