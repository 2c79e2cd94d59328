// The windows' pictures, described once (picture.h) for both front ends:
// img16 of the object tree (a folder with its collection's emblem on a
// root, the emblem alone on an object), the viewer's image list (one
// picture per type kind, the library and a category) and the badges of a
// comparison. A new picture of either window is added here, and each front
// end loads it as it loads these (ui/qt/window_images.h,
// ui/win32/window_images.h).
#pragma once

#include <cstdint>

#include "analysis/registry_comparison.h"
#include "ui/logic/picture.h"

namespace brannock::ui {

// Image `index` of img16 (0 to kTreeImageCount - 1, object_tree.h).
TPicture TreePicture(int index);

// The viewer's image of node kind `kind`: a TYPEKIND (0 to 7, 3 the
// lollipop of an interface, 5 a box with a ball for a class), the library
// (three diamonds) or a category (a yellow folder); empty for the unused
// kinds 8 to 10 and any other.
inline constexpr int kViewerImageCount = 13;
TPicture ViewerPicture(int32_t kind);

// The image a node of `kind` shows: its kind's, or for a kind outside the
// list (a type whose kind could not be read) an empty one.
inline constexpr int kBlankViewerImage = 8;
inline int ViewerImageOf(int32_t kind) { return kind >= 0 && kind < kViewerImageCount ? kind : kBlankViewerImage; }

// The badge an object's image carries while the window compares: a disc
// of the change's colour (ChangeColour) in the lower right corner, edged
// white, with a white plus for an added object, a minus for a removed one,
// a dot for a changed one; and tree image `index` with it.
TPicture ChangeBadge(analysis::ObjectChange change);
TPicture BadgedTreePicture(int index, analysis::ObjectChange change);

}  // namespace brannock::ui
