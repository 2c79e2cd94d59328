// img16: the eight 16x16 pictures of the object tree, drawn in code as
// ui/logic's TreeImageOf describes them: images 0 to 3 a folder with the
// emblem of a collection, 4 to 7 that emblem alone.
#pragma once

#include <QIcon>
#include <QPainterPath>
#include <array>

#include "ui/logic/object_tree.h"

namespace brannock::ui {

const std::array<QIcon, kTreeImageCount>& TreeImages();

// The outline of a folder with its tab at the top left, filling `box`
// (shared with the program icon).
QPainterPath FolderOutline(const QRectF& box);

}  // namespace brannock::ui
