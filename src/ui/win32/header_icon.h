// The detail pane's header icon: the object's DefaultIcon location, else
// its server file's first icon, else the icon associated with the server
// file; none when none of them gives one.
#pragma once

#include <windows.h>

#include "catalogue/object_data.h"
#include "common/text.h"

namespace brannock::ui {

// The file under its own name, else in the system directory, else in the
// Windows directory, as a full path; empty when none holds it.
Text LocateIconFile(TextView name);

// The caller destroys the icon.
HICON HeaderIcon(const TObjectData& snapshot);

}  // namespace brannock::ui
