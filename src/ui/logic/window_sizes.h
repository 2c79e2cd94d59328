// The fixed sizes both front ends give their windows, in pixels at 96 dpi
// (100 % display scaling). Qt scales them by itself; the Win32 front end
// scales them to each window's dpi (ui/win32/window_dpi.h).
#pragma once

namespace brannock::ui {

// The main window: its client area, the object tree's width, the border
// around the detail pane, the pane's header (icon and the two fields), the
// memo, the row of buttons and their widths, and the status bar's first
// panel.
namespace main_size {
inline constexpr int kClientWidth = 792;
inline constexpr int kClientHeight = 554;
inline constexpr int kTreeWidth = 301;
inline constexpr int kPaneBorder = 5;
inline constexpr int kHeaderHeight = 41;
inline constexpr int kMemoHeight = 107;
inline constexpr int kButtonRowHeight = 38;
inline constexpr int kWideButtonWidth = 100;  // "Type Library...", "Copy to Clipboard"
inline constexpr int kButtonWidth = 75;       // "Register", "Unregister"
inline constexpr int kStatusPanelWidth = 50;
}  // namespace main_size

// The About dialog: a grey top band with the program's name (it drags the
// dialog), the white middle with the terms and the links, and a grey bottom
// band with OK, inside a one-pixel black frame.
namespace about_size {
inline constexpr int kWidth = 462;
inline constexpr int kHeight = 367;
inline constexpr int kTopBandHeight = 117;
inline constexpr int kBottomBandHeight = 44;
// The bands' grey: red, green, blue.
inline constexpr int kBandGreyRgb[3] = {160, 160, 164};
}  // namespace about_size

// The type library viewer: its client area, the tree's width beside the
// text, the splitter between them, and the status bar.
namespace viewer_size {
inline constexpr int kClientWidth = 792;
inline constexpr int kClientHeight = 554;
inline constexpr int kTreeWidth = 207;
inline constexpr int kSplitterWidth = 3;
inline constexpr int kStatusBarHeight = 19;
}  // namespace viewer_size

}  // namespace brannock::ui
