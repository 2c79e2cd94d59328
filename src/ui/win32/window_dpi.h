// The dots per inch a window is drawn at, and the 96-dpi sizes of
// ui/logic/window_sizes.h scaled to it. Windows 10 (from 1607) gives each
// window the dpi of its monitor and tells a window that moves to a monitor
// of another scale (WM_DPICHANGED); the program also runs on Windows 7, so
// those functions are looked up when first needed, and without them every
// window has the system's dpi.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace brannock::ui {

// The dpi the sizes are given for.
inline constexpr UINT kDesignDpi = 96;

// The system's dpi: GetDpiForSystem, else the screen's LOGPIXELSY.
UINT SystemDpi();
// The window's dpi: GetDpiForWindow, else the system's.
UINT WindowDpi(HWND window);

// A length of the 96-dpi design at `dpi` (rounded, as MulDiv rounds).
inline int Scaled(int length, UINT dpi) { return MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDesignDpi)); }
// The height of a font of `points` points at `dpi` (negative: the height
// of its characters, as LOGFONT takes it).
inline int FontHeight(int points, UINT dpi) { return -MulDiv(points, static_cast<int>(dpi), 72); }

// The outer size of a window of `style` whose client area is
// `clientWidth` by `clientHeight` at `dpi`: AdjustWindowRectExForDpi, else
// AdjustWindowRectEx (the system's metrics).
SIZE WindowSizeFor(int clientWidth, int clientHeight, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// The window at the place and size WM_DPICHANGED suggests (its lParam).
void MoveToSuggested(HWND window, const RECT& suggested);

// The width of the widest of `texts` drawn in `font` on `window`: a
// control sized by the design at 96 dpi may need more for its caption in
// another font (Wine's Tahoma is wider than Windows') or language.
int WidestText(HWND window, HFONT font, std::initializer_list<std::wstring_view> texts);

}  // namespace brannock::ui
