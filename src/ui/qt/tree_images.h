// img16: the eight 16x16 pictures of the object tree, drawn in code. Image k
// (0 to 3) is a folder with the emblem of the collection whose Typ is k;
// image k + 4 is that emblem alone. Object classes and application IDs
// share one emblem.
#pragma once

#include <QIcon>
#include <array>

namespace brannock::ui {

const std::array<QIcon, 8>& TreeImages();

}  // namespace brannock::ui
