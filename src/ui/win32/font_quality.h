// The output quality the system's font smoothing setting gives a font.
#pragma once

#include <windows.h>

namespace brannock::ui {

// The quality a font created with DEFAULT_QUALITY gets from the system's
// smoothing setting (none, standard or ClearType), named explicitly; when
// the setting cannot be read, DEFAULT_QUALITY. The text looks the same, but
// under Wine selecting a font of default quality into a window's DC asks
// the X server's resources each time, which made the tree view's first
// expansion of 40,000 nodes (one selection per node) take most of a second.
BYTE SystemFontQuality();

// True when a WM_SETTINGCHANGE with `action` may change that quality.
bool ChangesFontQuality(WPARAM action);

}  // namespace brannock::ui
