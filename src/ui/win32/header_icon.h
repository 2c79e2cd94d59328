// The detail pane's header icon: the object's DefaultIcon location, else
// its server file's first icon, else the icon associated with the server
// file; none when none of them gives one.
#pragma once

#include <windows.h>

#include "catalogue/object_data.h"
#include "common/text.h"

namespace brannock::ui {

// The file under its own name, else in the system directory, else in the
// Windows directory, as a full path; empty when none holds it. With
// `wow64Files` (the 32-bit view on 64-bit Windows) the system directory is
// the 32-bit one (SysWOW64), also where the name says system32, as a 32-bit
// program would open the file.
Text LocateIconFile(TextView name, bool wow64Files = false);

// The caller destroys the icon.
HICON HeaderIcon(const TObjectData& snapshot, bool wow64Files = false);

}  // namespace brannock::ui
