// The windows' images on Qt: the pictures of ui/logic/window_pictures.h as
// icons, pixel for pixel what the Win32 windows show.
#pragma once

#include <QIcon>
#include <QImage>
#include <array>

#include "ui/logic/object_tree.h"
#include "ui/logic/window_pictures.h"

namespace brannock::ui {

QImage PictureImage(const TPixels& pixels);
// A null icon for an empty picture.
QIcon PictureIcon(const TPicture& picture);

// img16 of the object tree, by image index.
const std::array<QIcon, kTreeImageCount>& TreeImages();
// Image `index` with the badge of `change`, while the window compares.
const QIcon& BadgedTreeImage(int index, analysis::ObjectChange change);

// The viewer's list, indexed by node kind; the unused kinds hold null icons.
std::array<QIcon, kViewerImageCount> ViewerImageList();

}  // namespace brannock::ui
