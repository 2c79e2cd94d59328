// The windows' image lists on Win32: the pictures of
// ui/logic/window_pictures.h, pixel for pixel what the Qt windows show.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "analysis/registry_comparison.h"
#include "ui/logic/picture.h"

namespace brannock::ui {

// The colour that stands for a transparent pixel in the lists' bitmaps
// (no picture uses it).
inline constexpr COLORREF kImageMaskColour = RGB(255, 0, 255);

// img16 of the object tree, then each of its images with the badge of
// each change of a comparison (BadgedTreePicture). Whole pictures, not
// overlay images: comctl32 of Wine 8.0 draws an overlay through the mask of
// the image below it, which leaves the badge's colour mixed with the
// background where the object's image is transparent.
HIMAGELIST CreateTreeImages();
// The index in that list of tree image `index` with the badge of `change`.
int BadgedTreeImage(int index, analysis::ObjectChange change);

// The viewer's list indexed by node kind (the unused kinds blank).
HIMAGELIST CreateViewerImages();

// A 16 by 16 list of `pictures`, masked; an empty picture stays blank.
HIMAGELIST CreateImageList(const std::vector<TPicture>& pictures);

// A bitmap of `width` by `height` 32-bit pixels (0x00RRGGBB), row by row
// from the top, and its pixels; null when it cannot be made.
HBITMAP CreatePixelBitmap(int width, int height, uint32_t*& pixels);

}  // namespace brannock::ui
