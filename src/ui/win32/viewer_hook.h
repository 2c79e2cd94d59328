// Where the main window hands a type library to the viewer, and where it
// opens the About dialog. The viewer window and the About dialog install
// themselves here (SetTypeLibViewer, SetAboutDialog); until they do, the
// plain window of plain_unit_window.cpp shows the rendered unit and an
// information box shows the version.
#pragma once

#include <windows.h>

#include <functional>

#include "catalogue/object_data.h"
#include "typelib/access.h"

namespace brannock::ui {

// Loads the library the record names (by registration, else from its
// Server file) and shows it modally over `owner`, or reports the load
// error itself. Returns when the window is closed.
using TypeLibViewer = std::function<void(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader)>;
void SetTypeLibViewer(TypeLibViewer viewer);
void ViewTypeLib(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader);

using AboutDialog = std::function<void(HWND owner)>;
void SetAboutDialog(AboutDialog dialog);
void ShowAbout(HWND owner);

// The stand-in viewer: the rendered unit in a read-only text window, modal.
void ShowPlainUnitWindow(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader);

// The class name of that window (tests find it by this name).
inline constexpr wchar_t kPlainUnitWindowClass[] = L"BrannockPlainUnit";

}  // namespace brannock::ui
