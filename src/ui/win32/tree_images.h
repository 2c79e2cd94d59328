// The eight 16 by 16 images of the object tree, drawn in code as
// ui/logic's TreeImageOf describes them: images 0 to 3 a folder with the
// emblem of a collection, 4 to 7 that emblem alone.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace brannock::ui {

HIMAGELIST CreateTreeImages();

}  // namespace brannock::ui
