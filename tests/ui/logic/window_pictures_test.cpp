// The pictures of both windows, as pixels: what each shows where, the
// shapes' rules, and the pictures that must be equal, distinct or empty.
#include "ui/logic/window_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "catalogue/object_kinds.h"
#include "typelib/access.h"
#include "ui/logic/comparison_view.h"
#include "ui/logic/object_tree.h"
#include "ui/logic/type_tree.h"

namespace brannock::ui {
namespace {

TRgb ColourAt(const TPixels& pixels, int x, int y) { return pixels[y * kPictureSize + x] & 0xFFFFFF; }
bool OpaqueAt(const TPixels& pixels, int x, int y) { return !IsTransparent(pixels[y * kPictureSize + x]); }

size_t Count(const TPixels& pixels, TRgb colour) {
  size_t n = 0;
  for (uint32_t p : pixels) n += !IsTransparent(p) && (p & 0xFFFFFF) == colour;
  return n;
}

TEST(Picture, ShapesCoverThePixelCentresInsideThemEdgeOutermost) {
  // A box from corner (2, 3) to (6, 7) covers pixels 2..5 by 3..6; its
  // outermost ring takes the edge colour, the rest the fill.
  const TPixels box = Rasterize({{TShape::Kind::Box, {{2, 3}, {6, 7}}, Rgb(1, 2, 3), Rgb(9, 9, 9)}});
  EXPECT_FALSE(OpaqueAt(box, 1, 3));
  EXPECT_FALSE(OpaqueAt(box, 6, 3));
  EXPECT_FALSE(OpaqueAt(box, 2, 7));
  EXPECT_EQ(ColourAt(box, 2, 3), Rgb(9, 9, 9));
  EXPECT_EQ(ColourAt(box, 5, 6), Rgb(9, 9, 9));
  EXPECT_EQ(ColourAt(box, 3, 4), Rgb(1, 2, 3));
  EXPECT_EQ(Count(box, Rgb(1, 2, 3)), 4u);
  EXPECT_EQ(Count(box, Rgb(9, 9, 9)), 12u);

  // A line one unit thick along row centres is one pixel high; two units
  // thick between rows, two pixels; later shapes paint over earlier ones.
  const TPixels lines = Rasterize({{TShape::Kind::Line, {{0, 4.5}, {16, 4.5}}, {}, Rgb(0, 0, 255)},
                                   {TShape::Kind::Line, {{0, 10}, {16, 10}}, {}, Rgb(0, 255, 0), 2},
                                   {TShape::Kind::Line, {{8.5, 0}, {8.5, 16}}, {}, Rgb(255, 0, 0)}});
  EXPECT_EQ(Count(lines, Rgb(0, 0, 255)), 15u);
  EXPECT_EQ(Count(lines, Rgb(0, 255, 0)), 30u);
  EXPECT_EQ(Count(lines, Rgb(255, 0, 0)), 16u);
  EXPECT_FALSE(OpaqueAt(lines, 3, 3));
  EXPECT_FALSE(OpaqueAt(lines, 3, 11));

  // An ellipse fills its box's middle but not its corners; a polygon
  // (a triangle) only its inside; placing scales the unit square.
  const TPixels round = Rasterize(Placed({{TShape::Kind::Ellipse, {{0, 0}, {1, 1}}, Rgb(5, 5, 5), {}}}, {0, 0}, {16, 16}));
  EXPECT_TRUE(OpaqueAt(round, 8, 8));
  EXPECT_TRUE(OpaqueAt(round, 0, 8));
  EXPECT_FALSE(OpaqueAt(round, 0, 0));
  EXPECT_FALSE(OpaqueAt(round, 15, 15));
  const TPixels triangle = Rasterize({{TShape::Kind::Polygon, {{0, 0}, {16, 0}, {0, 16}}, Rgb(7, 7, 7), {}}});
  EXPECT_TRUE(OpaqueAt(triangle, 2, 2));
  EXPECT_FALSE(OpaqueAt(triangle, 13, 13));
}

TEST(WindowPictures, ObjectTreeFoldersAndEmblems) {
  const TRgb folderFront = Rgb(252, 225, 130);
  for (int i = 0; i < kTreeImageCount; ++i) {
    const TPixels pixels = Rasterize(TreePicture(i));
    // A root's folder fills the lower part and leaves the top row clear;
    // an object's emblem alone shows no folder colour.
    EXPECT_EQ(Count(pixels, folderFront) > 20, i < 4) << i;
    EXPECT_FALSE(OpaqueAt(pixels, 15, 0)) << i;
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return !IsTransparent(p); }), 60) << i;
  }
  // Object classes and application IDs share one emblem; the kinds' images
  // differ otherwise.
  for (int shift : {0, 4}) {
    EXPECT_EQ(Rasterize(TreePicture(0 + shift)), Rasterize(TreePicture(2 + shift)));
    EXPECT_NE(Rasterize(TreePicture(0 + shift)), Rasterize(TreePicture(1 + shift)));
    EXPECT_NE(Rasterize(TreePicture(1 + shift)), Rasterize(TreePicture(3 + shift)));
  }
  // The emblems: a blue cube, a red book, a green lollipop.
  EXPECT_EQ(ColourAt(Rasterize(TreePicture(4)), 5, 10), Rgb(90, 140, 220));
  EXPECT_EQ(ColourAt(Rasterize(TreePicture(5)), 8, 5), Rgb(190, 60, 40));
  EXPECT_EQ(ColourAt(Rasterize(TreePicture(7)), 5, 5), Rgb(80, 200, 100));
  // In a folder the emblem sits at the lower right, over the folder.
  EXPECT_EQ(ColourAt(Rasterize(TreePicture(1)), 12, 12), Rgb(190, 60, 40));
  EXPECT_EQ(ColourAt(Rasterize(TreePicture(1)), 3, 12), folderFront);
}

TEST(WindowPictures, ViewerKindsLibraryAndCategory) {
  std::set<TPixels> distinct;
  for (int32_t kind = 0; kind < kViewerImageCount; ++kind) {
    const TPixels pixels = Rasterize(ViewerPicture(kind));
    const bool used = kind < kTypeKindCount || kind == kLibraryNodeKind || kind == kCategoryNodeKind;
    const bool any = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return !IsTransparent(p); });
    EXPECT_EQ(any, used) << kind;
    if (used) distinct.insert(pixels);
  }
  EXPECT_EQ(distinct.size(), 10u) << "every used kind has a picture of its own";
  EXPECT_TRUE(ViewerPicture(kUnplacedNodeKind).empty());
  // The interface's lollipop: a green ball at the top right over a stick;
  // the class's red ball over its box; the library's three diamonds; the
  // category is the object tree's folder.
  const TPixels lollipop = Rasterize(ViewerPicture(typelib::TKIND_INTERFACE));
  EXPECT_EQ(ColourAt(lollipop, 11, 5), Rgb(80, 170, 60));
  EXPECT_EQ(ColourAt(lollipop, 4, 11), Rgb(60, 60, 60));
  EXPECT_EQ(ColourAt(Rasterize(ViewerPicture(typelib::TKIND_COCLASS)), 11, 4), Rgb(220, 40, 40));
  const TPixels library = Rasterize(ViewerPicture(kLibraryNodeKind));
  EXPECT_EQ(ColourAt(library, 5, 5), Rgb(220, 50, 50));
  EXPECT_EQ(ColourAt(library, 11, 5), Rgb(50, 160, 60));
  EXPECT_EQ(ColourAt(library, 8, 11), Rgb(50, 90, 220));
  const TPixels folder = Rasterize(ViewerPicture(kCategoryNodeKind));
  EXPECT_EQ(ColourAt(folder, 8, 10), Rgb(252, 225, 130));
  EXPECT_FALSE(OpaqueAt(folder, 8, 1));
}

constexpr std::array kChanges{analysis::ObjectChange::Added, analysis::ObjectChange::Removed,
                               analysis::ObjectChange::Changed};

TEST(WindowPictures, ComparisonBadgesOverTheTreeImages) {
  std::set<TPixels> badges;
  for (analysis::ObjectChange change : kChanges) {
    const TPixels badge = Rasterize(ChangeBadge(change));
    badges.insert(badge);
    // The badge takes the lower right corner; the rest of the image stays.
    for (int i = 0; i < kTreeImageCount; ++i) {
      const TPixels plain = Rasterize(TreePicture(i));
      const TPixels badged = Rasterize(BadgedTreePicture(i, change));
      for (int y = 0; y < kPictureSize; ++y) {
        for (int x = 0; x < kPictureSize; ++x) {
          const size_t at = static_cast<size_t>(y * kPictureSize + x);
          if (IsTransparent(badge[at])) {
            EXPECT_EQ(badged[at], plain[at]) << i << " at " << x << "," << y;
          } else {
            EXPECT_TRUE(x >= 7 && y >= 7) << x << "," << y;
            EXPECT_EQ(badged[at], badge[at]) << i << " at " << x << "," << y;
          }
        }
      }
    }
  }
  EXPECT_EQ(badges.size(), kChanges.size());
  // A white sign on a disc of the change's colour, edged white: the plus
  // has an upright, the minus only the bar, the dot neither.
  const TRgb white = Rgb(255, 255, 255);
  const auto colourOf = [](analysis::ObjectChange change) {
    const Colour c = ChangeColour(change);
    return Rgb(c.red, c.green, c.blue);
  };
  const TPixels added = Rasterize(ChangeBadge(analysis::ObjectChange::Added));
  const TPixels removed = Rasterize(ChangeBadge(analysis::ObjectChange::Removed));
  const TPixels changed = Rasterize(ChangeBadge(analysis::ObjectChange::Changed));
  EXPECT_EQ(ColourAt(added, 11, 9), white);
  EXPECT_EQ(ColourAt(added, 9, 11), white);
  EXPECT_EQ(ColourAt(removed, 11, 9), colourOf(analysis::ObjectChange::Removed));
  EXPECT_EQ(ColourAt(removed, 9, 11), white);
  EXPECT_EQ(ColourAt(changed, 9, 11), colourOf(analysis::ObjectChange::Changed));
  EXPECT_EQ(ColourAt(changed, 11, 11), white);
  EXPECT_EQ(ColourAt(added, 9, 9), colourOf(analysis::ObjectChange::Added));
  EXPECT_EQ(ColourAt(added, 11, 7), white);
  EXPECT_FALSE(OpaqueAt(added, 7, 7));
}

TEST(WindowPictures, NoPictureUsesTheMaskColour) {
  // The Win32 image lists take magenta as transparent.
  const TRgb magenta = Rgb(255, 0, 255);
  for (int i = 0; i < kTreeImageCount; ++i) {
    EXPECT_EQ(Count(Rasterize(TreePicture(i)), magenta), 0u);
    for (analysis::ObjectChange change : kChanges)
      EXPECT_EQ(Count(Rasterize(BadgedTreePicture(i, change)), magenta), 0u);
  }
  for (int32_t kind = 0; kind < kViewerImageCount; ++kind)
    EXPECT_EQ(Count(Rasterize(ViewerPicture(kind)), magenta), 0u);
}

}  // namespace
}  // namespace brannock::ui
