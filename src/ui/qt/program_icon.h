// The program's icon, painted in code so that every size is drawn from the
// same shapes: a blue tile with a small object tree (a folder and two
// objects). The window uses it, and the build writes it into the hicolor
// icon theme for the desktop entry.
#pragma once

#include <QIcon>
#include <QImage>

namespace brannock::ui {

// The icon as a square picture of `size` pixels, transparent around the tile.
QImage PaintProgramIcon(int size);

// The icon at 16, 32, 48, 128 and 256 pixels.
QIcon ProgramIcon();

}  // namespace brannock::ui
