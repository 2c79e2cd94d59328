#include "ui/logic/window_pictures.h"

#include "typelib/access.h"
#include "ui/logic/comparison_view.h"
#include "ui/logic/object_tree.h"
#include "ui/logic/type_tree.h"

namespace brannock::ui {

namespace {

using Kind = TShape::Kind;

TShape Box(double left, double top, double right, double bottom, TRgb fill, std::optional<TRgb> edge) {
  return {Kind::Box, {{left, top}, {right, bottom}}, fill, edge};
}

TShape Ellipse(double left, double top, double right, double bottom, TRgb fill, TRgb edge) {
  return {Kind::Ellipse, {{left, top}, {right, bottom}}, fill, edge};
}

TShape Polygon(std::vector<TPoint> corners, TRgb fill, TRgb edge) {
  return {Kind::Polygon, std::move(corners), fill, edge};
}

TShape Line(TPoint from, TPoint to, TRgb colour, double width = 1) {
  return {Kind::Line, {from, to}, std::nullopt, colour, width};
}

constexpr TRgb kWhite = Rgb(255, 255, 255);

// A yellow folder with its tab at the top left: the category of the viewer
// and the roots of the object tree.
TPicture Folder() {
  return {Polygon({{0, 3}, {6, 3}, {7, 5}, {16, 5}, {16, 15}, {0, 15}}, Rgb(245, 205, 90), Rgb(150, 110, 20)),
          Box(0, 6, 16, 15, Rgb(252, 225, 130), Rgb(150, 110, 20))};
}

// The emblems of the object kinds, in the unit square.
TPicture Emblem(ObjectEmblem emblem) {
  switch (emblem) {
    case ObjectEmblem::Object: {  // a cube
      constexpr double d = 0.3;
      const TRgb edge = Rgb(40, 60, 120);
      return {Polygon({{0, d}, {1 - d, d}, {1 - d, 1}, {0, 1}}, Rgb(90, 140, 220), edge),
              Polygon({{0, d}, {d, 0}, {1, 0}, {1 - d, d}}, Rgb(160, 195, 245), edge),
              Polygon({{1 - d, d}, {1, 0}, {1, 1 - d}, {1 - d, 1}}, Rgb(60, 100, 180), edge)};
    }
    case ObjectEmblem::TypeLibrary:  // a closed red book
      return {Box(0.05, 0, 0.95, 1, Rgb(190, 60, 40), Rgb(90, 30, 20)),
              Box(0.3, 0.72, 0.85, 0.88, Rgb(250, 245, 225), std::nullopt),
              Line({0.27, 0.1}, {0.27, 0.9}, Rgb(250, 220, 120))};
    case ObjectEmblem::Interface:  // a lollipop
      return {Line({0.28, 0.5}, {0.28, 1}, Rgb(20, 100, 40), 2),
              Ellipse(0, 0, 0.6, 0.6, Rgb(80, 200, 100), Rgb(20, 100, 40))};
  }
  return {};
}

// A lollipop of the viewer: a stick to the lower left, a ball on top.
TPicture Lollipop(TRgb ball) {
  return {Line({2, 14}, {9, 7}, Rgb(60, 60, 60), 2), Ellipse(7, 1, 15, 9, ball, Rgb(30, 30, 30))};
}

TShape Diamond(double x, double y, double r, TRgb fill) {
  return Polygon({{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}}, fill, Rgb(40, 40, 90));
}

}  // namespace

TPicture TreePicture(int index) {
  const TreeImage image = TreeImageOf(index);
  const TPicture emblem = Emblem(image.emblem);
  if (!image.folder) return Placed(emblem, {1, 1}, {15, 15});
  return Over(Folder(), Placed(emblem, {8, 7}, {16, 16}));
}

TPicture ViewerPicture(int32_t kind) {
  switch (kind) {
    case typelib::TKIND_ENUM: {  // a list of numbered bars
      TPicture p{Box(1, 1, 15, 15, Rgb(255, 250, 220), Rgb(120, 90, 0))};
      for (double y : {5.0, 8.0, 11.0}) p.push_back(Line({4, y}, {12, y}, Rgb(200, 120, 0), 2));
      return p;
    }
    case typelib::TKIND_RECORD:  // a block of fields
      return {Box(1, 2, 15, 14, Rgb(180, 210, 255), Rgb(30, 60, 140)),
              Line({1, 6.5}, {15, 6.5}, Rgb(30, 60, 140)), Line({1, 10.5}, {15, 10.5}, Rgb(30, 60, 140))};
    case typelib::TKIND_MODULE:  // a brick
      return {Box(1, 4, 15, 13, Rgb(190, 190, 190), Rgb(90, 90, 90)), Line({8.5, 4}, {8.5, 13}, Rgb(90, 90, 90)),
              Line({1, 8.5}, {15, 8.5}, Rgb(90, 90, 90))};
    case typelib::TKIND_INTERFACE:
      return Lollipop(Rgb(80, 170, 60));
    case typelib::TKIND_DISPATCH:  // the lollipop with a dispatch mark
      return Over(Lollipop(Rgb(40, 110, 210)), {Line({9, 5.5}, {13, 5.5}, kWhite)});
    case typelib::TKIND_COCLASS:  // a box with a ball
      return {Box(1, 5, 12, 15, Rgb(230, 190, 120), Rgb(110, 70, 20)),
              Ellipse(8, 1, 15, 8, Rgb(220, 40, 40), Rgb(120, 20, 20))};
    case typelib::TKIND_ALIAS:  // an arrow to a name
      return {Line({2, 8}, {12, 8}, Rgb(120, 60, 150), 2), Line({9, 4.5}, {12.5, 8}, Rgb(120, 60, 150), 2),
              Line({9, 11.5}, {12.5, 8}, Rgb(120, 60, 150), 2)};
    case typelib::TKIND_UNION:  // two overlapping blocks
      return {Box(1, 1, 11, 11, Rgb(255, 200, 200), Rgb(140, 60, 60)),
              Box(5, 5, 15, 15, Rgb(200, 230, 200), Rgb(60, 120, 60))};
    case kLibraryNodeKind:  // three diamonds
      return {Diamond(5, 5, 4, Rgb(220, 50, 50)), Diamond(11, 5, 4, Rgb(50, 160, 60)),
              Diamond(8, 11, 4, Rgb(50, 90, 220))};
    case kCategoryNodeKind:
      return Folder();
    default:
      return {};
  }
}

TPicture ChangeBadge(analysis::ObjectChange change) {
  const Colour c = ChangeColour(change);
  TPicture badge{Ellipse(7, 7, 16, 16, Rgb(c.red, c.green, c.blue), kWhite)};
  // The sign about the disc's middle pixel (11, 11).
  const TShape across = Line({9, 11.5}, {14, 11.5}, kWhite);
  switch (change) {
    case analysis::ObjectChange::Added:
      return Over(badge, {across, Line({11.5, 9}, {11.5, 14}, kWhite)});
    case analysis::ObjectChange::Removed:
      return Over(badge, {across});
    case analysis::ObjectChange::Changed:
      return Over(badge, {Box(10, 10, 13, 13, kWhite, std::nullopt)});
  }
  return badge;
}

TPicture BadgedTreePicture(int index, analysis::ObjectChange change) {
  return Over(TreePicture(index), ChangeBadge(change));
}

}  // namespace brannock::ui
