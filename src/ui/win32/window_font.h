// The font of the front end's small windows (the check's findings, the
// choice of a library, Find, the libraries' progress): Tahoma 8 at the
// window's dpi, in the quality the system's smoothing gives
// (font_quality.h). The caller deletes it.
#pragma once

#include <windows.h>

namespace brannock::ui {

HFONT CreateWindowFont(UINT dpi);

}  // namespace brannock::ui
