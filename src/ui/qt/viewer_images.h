// The 13 pictures of the viewer's type tree, 16x16, looked up by node kind:
// 0 to 7 one per type kind, 11 the library, 12 a category; 8 to 10 unused.
#pragma once

#include <QIcon>
#include <array>

namespace brannock::ui {

inline constexpr int kViewerImageCount = 13;

// The list, indexed by kind; the unused slots hold null icons.
std::array<QIcon, kViewerImageCount> ViewerImageList();

}  // namespace brannock::ui
