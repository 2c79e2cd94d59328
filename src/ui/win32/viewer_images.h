// The viewer tree's 13 images of 16 by 16 pixels, drawn in code and looked
// up by a node's Kind: 0 to 7 one per type kind (3 the interface lollipop,
// 5 a box with a ball for a class), 11 the library (three diamonds), 12 a
// category (a yellow folder); 8 to 10 are blank.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace brannock::ui {

inline constexpr int kViewerImageCount = 13;

HIMAGELIST CreateViewerImages();

}  // namespace brannock::ui
