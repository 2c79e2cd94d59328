// The windows' icons on Qt: pixel for pixel the pictures of ui/logic, as
// the Win32 image lists show them (tests/ui/win32/window_images_test.cpp
// compares the same pixels).
#include "ui/qt/window_images.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

QImage PixelsOf(const QIcon& icon) {
  return icon.pixmap(kPictureSize, kPictureSize).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(WindowImages, IconsAreThePicturesPixelForPixel) {
  for (int i = 0; i < kTreeImageCount; ++i)
    EXPECT_EQ(PixelsOf(TreeImages()[static_cast<size_t>(i)]), PictureImage(Rasterize(TreePicture(i)))) << i;
  const auto viewer = ViewerImageList();
  for (int kind = 0; kind < kViewerImageCount; ++kind) {
    const TPicture picture = ViewerPicture(kind);
    EXPECT_EQ(viewer[static_cast<size_t>(kind)].isNull(), picture.empty()) << kind;
    if (!picture.empty()) {
      EXPECT_EQ(PixelsOf(viewer[static_cast<size_t>(kind)]), PictureImage(Rasterize(picture))) << kind;
    }
  }
  // Transparent where the picture is, its colours opaque.
  const QImage folder = PictureImage(Rasterize(TreePicture(0)));
  EXPECT_EQ(qAlpha(folder.pixel(0, 0)), 0);
  EXPECT_EQ(folder.pixel(3, 10), qRgb(252, 225, 130));
  EXPECT_TRUE(PictureIcon({}).isNull());
}

}  // namespace
}  // namespace brannock::ui
