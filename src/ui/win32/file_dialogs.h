// The common file dialogs of the Win32 windows: a file to open (it must
// exist) or a file to save (an existing one is replaced after a question).
#pragma once

#include <windows.h>

#include <vector>

#include "ui/logic/file_filter.h"

namespace brannock::ui {

// The file chosen, or empty when the user cancelled. `title` empty gives
// the dialog's own.
Text ChooseFileToOpen(HWND owner, const std::vector<FileFilter>& filters, TextView title = {});

// The same for saving, the dialog opened on `suggested`; a name without an
// extension gets `extension` ("csv").
Text ChooseFileToSave(HWND owner, TextView suggested, const std::vector<FileFilter>& filters, TextView extension);

}  // namespace brannock::ui
