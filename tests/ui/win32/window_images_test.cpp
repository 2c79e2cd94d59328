// The trees' image lists, drawn by comctl32 onto a bitmap: pixel for pixel
// the pictures of ui/logic, as the Qt windows show them (their test compares
// the same pixels).
#include <cstdio>
#include <set>
#include <string>

#include "ui/logic/object_tree.h"
#include "ui/logic/window_pictures.h"
#include "ui/win32/window_images.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

constexpr uint32_t kBackground = 0x204060;  // no picture's colour

// Image `index` of `list` drawn onto the background, as 0xRRGGBB pixels.
std::vector<uint32_t> Drawn(HIMAGELIST list, int index) {
  uint32_t* pixels = nullptr;
  HBITMAP bitmap = CreatePixelBitmap(kPictureSize, kPictureSize, pixels);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  std::fill(pixels, pixels + kPictureSize * kPictureSize, kBackground);
  ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
  GdiFlush();
  std::vector<uint32_t> drawn(pixels, pixels + kPictureSize * kPictureSize);
  for (uint32_t& p : drawn) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return drawn;
}

std::vector<uint32_t> Expected(const TPixels& pixels) {
  std::vector<uint32_t> expected;
  for (uint32_t p : pixels) expected.push_back(IsTransparent(p) ? kBackground : p & 0xFFFFFF);
  return expected;
}

// The pixels where `drawn` differs from `expected`, "x,y drawn/expected"
// each; empty when they are equal.
std::string Differences(const std::vector<uint32_t>& drawn, const std::vector<uint32_t>& expected) {
  std::string out;
  char line[64];
  for (size_t i = 0; i < drawn.size() && i < expected.size(); ++i) {
    if (drawn[i] == expected[i]) continue;
    std::snprintf(line, sizeof line, "%d,%d %06x/%06x ", static_cast<int>(i % kPictureSize),
                  static_cast<int>(i / kPictureSize), drawn[i], expected[i]);
    out += line;
  }
  return out;
}

TEST(Win32WindowImages, TheTreesShowTheSharedPicturesPixelForPixel) {
  LiveWindow w;
  HIMAGELIST tree = TreeView_GetImageList(w.frm->Tree, TVSIL_NORMAL);
  ASSERT_TRUE(tree);
  ASSERT_EQ(ImageList_GetImageCount(tree), kTreeImageCount * 4);
  for (int i = 0; i < kTreeImageCount; ++i)
    EXPECT_EQ(Differences(Drawn(tree, i), Expected(Rasterize(TreePicture(i)))), "") << i;
  // An object of a comparison: its image with the change's badge.
  std::set<int> badged;
  for (analysis::ObjectChange change :
       {analysis::ObjectChange::Added, analysis::ObjectChange::Removed, analysis::ObjectChange::Changed}) {
    for (int i = 0; i < kTreeImageCount; ++i) {
      const int image = BadgedTreeImage(i, change);
      badged.insert(image);
      EXPECT_EQ(Differences(Drawn(tree, image), Expected(Rasterize(BadgedTreePicture(i, change)))), "") << i;
    }
  }
  EXPECT_EQ(badged.size(), static_cast<size_t>(kTreeImageCount * 3));

  HIMAGELIST viewer = CreateViewerImages();
  ASSERT_EQ(ImageList_GetImageCount(viewer), kViewerImageCount);
  for (int kind = 0; kind < kViewerImageCount; ++kind)
    EXPECT_EQ(Differences(Drawn(viewer, kind), Expected(Rasterize(ViewerPicture(kind)))), "") << kind;
  ImageList_Destroy(viewer);
}

}  // namespace
}  // namespace brannock::ui::testing
