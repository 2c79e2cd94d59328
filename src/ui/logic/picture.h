// A small picture described as a list of shapes, and its pixels: the one
// description both front ends load, so that a tree or viewer image looks
// the same in both windows. Coordinates run over a square of kPictureSize
// units, pixel (x, y) covering [x, x + 1) by [y, y + 1); a shape covers the
// pixels whose centres lie inside it. No smoothing: a pixel is one colour
// or transparent, as in an image list with a mask.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace brannock::ui {

inline constexpr int kPictureSize = 16;

// 0xRRGGBB.
using TRgb = uint32_t;
constexpr TRgb Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

struct TPoint {
  double X = 0;
  double Y = 0;
};

struct TShape {
  enum class Kind {
    Box,      // Points: the top left and the bottom right corner
    Ellipse,  // inside the box of Points
    Polygon,  // Points: the corners in order
    Line,     // Points: the two ends; Width thick, its ends cut square
  };
  Kind Shape = Kind::Box;
  std::vector<TPoint> Points;
  // The inside, and the outermost pixels of the inside (a closed shape);
  // a line is all edge. None leaves the pixels as they were.
  std::optional<TRgb> Fill;
  std::optional<TRgb> Edge;
  double Width = 1;
};

// Drawn in order, each shape over the ones before.
using TPicture = std::vector<TShape>;

// Row by row from the top: 0 is transparent, else 0xFF000000 | TRgb.
using TPixels = std::array<uint32_t, kPictureSize * kPictureSize>;
TPixels Rasterize(const TPicture& picture);

inline constexpr uint32_t kOpaque = 0xFF000000u;
inline bool IsTransparent(uint32_t pixel) { return (pixel & kOpaque) == 0; }

// `picture`, drawn in the unit square, moved and scaled into the box of
// `topLeft` and `bottomRight` (line widths stay).
TPicture Placed(const TPicture& picture, TPoint topLeft, TPoint bottomRight);

// `below` with `above` drawn over it: an emblem on a folder, a mark on an
// image.
TPicture Over(TPicture below, const TPicture& above);

}  // namespace brannock::ui
