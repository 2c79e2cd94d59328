// img16: the eight 16x16 pictures of the object tree, drawn in code. Image k
// (0 to 3) is a folder with the emblem of the collection whose Typ is k;
// image k + 4 is that emblem alone. Object classes and application IDs
// share one emblem.
#pragma once

#include <QIcon>
#include <QPainterPath>
#include <array>

namespace brannock::ui {

const std::array<QIcon, 8>& TreeImages();

// The outline of a folder with its tab at the top left, filling `box`
// (shared with the program icon).
QPainterPath FolderOutline(const QRectF& box);

}  // namespace brannock::ui
