// The fixed sizes both front ends give their windows, in pixels.
#pragma once

namespace brannock::ui {

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
