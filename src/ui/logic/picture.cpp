#include "ui/logic/picture.h"

#include <cmath>

namespace brannock::ui {

namespace {

using Coverage = std::array<bool, kPictureSize * kPictureSize>;

bool InPolygon(const std::vector<TPoint>& corners, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
    const TPoint& a = corners[i];
    const TPoint& b = corners[j];
    if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
  }
  return inside;
}

// Whether (x, y) lies within `halfWidth` of the segment from a to b, its
// ends cut square (a line does not reach past its end points).
bool NearSegment(TPoint a, TPoint b, double x, double y, double halfWidth) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double length2 = dx * dx + dy * dy;
  if (length2 <= 0) return false;
  const double t = ((x - a.X) * dx + (y - a.Y) * dy) / length2;
  if (t < -1e-9 || t > 1 + 1e-9) return false;
  return std::hypot(x - (a.X + t * dx), y - (a.Y + t * dy)) <= halfWidth + 1e-9;
}

bool Covers(const TShape& shape, double x, double y) {
  const std::vector<TPoint>& p = shape.Points;
  switch (shape.Shape) {
    case TShape::Kind::Box:
      return p.size() == 2 && x > p[0].X && x < p[1].X && y > p[0].Y && y < p[1].Y;
    case TShape::Kind::Ellipse: {
      if (p.size() != 2) return false;
      const double rx = (p[1].X - p[0].X) / 2, ry = (p[1].Y - p[0].Y) / 2;
      if (rx <= 0 || ry <= 0) return false;
      const double u = (x - (p[0].X + rx)) / rx, v = (y - (p[0].Y + ry)) / ry;
      return u * u + v * v <= 1;
    }
    case TShape::Kind::Polygon:
      return p.size() >= 3 && InPolygon(p, x, y);
    case TShape::Kind::Line:
      // Half the width either side; a pixel centre exactly on the border
      // belongs to the line.
      return p.size() == 2 && NearSegment(p[0], p[1], x, y, shape.Width / 2);
  }
  return false;
}

Coverage CoverageOf(const TShape& shape) {
  Coverage covered{};
  for (int y = 0; y < kPictureSize; ++y)
    for (int x = 0; x < kPictureSize; ++x) covered[y * kPictureSize + x] = Covers(shape, x + 0.5, y + 0.5);
  return covered;
}

bool At(const Coverage& covered, int x, int y) {
  return x >= 0 && y >= 0 && x < kPictureSize && y < kPictureSize && covered[y * kPictureSize + x];
}

}  // namespace

TPixels Rasterize(const TPicture& picture) {
  TPixels pixels{};
  for (const TShape& shape : picture) {
    const Coverage covered = CoverageOf(shape);
    const bool line = shape.Shape == TShape::Kind::Line;
    for (int y = 0; y < kPictureSize; ++y) {
      for (int x = 0; x < kPictureSize; ++x) {
        if (!At(covered, x, y)) continue;
        // The outermost pixels of a closed shape: one of their four
        // neighbours lies outside.
        const bool edge = line || !At(covered, x - 1, y) || !At(covered, x + 1, y) || !At(covered, x, y - 1) ||
                          !At(covered, x, y + 1);
        const std::optional<TRgb>& colour = edge && shape.Edge ? shape.Edge : shape.Fill;
        if (colour) pixels[y * kPictureSize + x] = kOpaque | *colour;
      }
    }
  }
  return pixels;
}

TPicture Placed(const TPicture& picture, TPoint topLeft, TPoint bottomRight) {
  const double w = bottomRight.X - topLeft.X, h = bottomRight.Y - topLeft.Y;
  TPicture placed = picture;
  for (TShape& shape : placed)
    for (TPoint& p : shape.Points) p = {topLeft.X + p.X * w, topLeft.Y + p.Y * h};
  return placed;
}

TPicture Over(TPicture below, const TPicture& above) {
  below.insert(below.end(), above.begin(), above.end());
  return below;
}

}  // namespace brannock::ui
