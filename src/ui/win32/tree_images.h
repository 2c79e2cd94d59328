// The eight 16 by 16 images of the object tree, drawn in code: images 0 to
// 3 a folder with the emblem of the collection whose Typ they carry, 4 to 7
// that emblem alone (object classes and application IDs share one).
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace brannock::ui {

HIMAGELIST CreateTreeImages();

}  // namespace brannock::ui
