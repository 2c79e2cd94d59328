#include "ui/win32/window_images.h"

#include "ui/logic/object_tree.h"
#include "ui/logic/window_pictures.h"

namespace brannock::ui {

HBITMAP CreatePixelBitmap(int width, int height, uint32_t*& pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (bitmap && !bits) {
    DeleteObject(bitmap);
    return nullptr;
  }
  pixels = static_cast<uint32_t*>(bits);
  return bitmap;
}

HIMAGELIST CreateImageList(const std::vector<TPicture>& pictures) {
  const int count = static_cast<int>(pictures.size());
  const HIMAGELIST list = ImageList_Create(kPictureSize, kPictureSize, ILC_COLOR24 | ILC_MASK, count, 0);
  // All images side by side in one strip, added at once.
  uint32_t* row = nullptr;
  const HBITMAP strip = CreatePixelBitmap(kPictureSize * count, kPictureSize, row);
  if (!strip) return list;
  const uint32_t mask = (GetRValue(kImageMaskColour) << 16) | (GetGValue(kImageMaskColour) << 8) |
                        GetBValue(kImageMaskColour);
  for (int i = 0; i < count; ++i) {
    const TPixels pixels = Rasterize(pictures[static_cast<size_t>(i)]);
    for (int y = 0; y < kPictureSize; ++y)
      for (int x = 0; x < kPictureSize; ++x) {
        const uint32_t pixel = pixels[y * kPictureSize + x];
        // A DIB's 32-bit pixel is 0x00RRGGBB, as a picture's colour.
        row[y * kPictureSize * count + i * kPictureSize + x] = IsTransparent(pixel) ? mask : pixel & 0xFFFFFF;
      }
  }
  ImageList_AddMasked(list, strip, kImageMaskColour);
  DeleteObject(strip);
  return list;
}

namespace {

constexpr analysis::ObjectChange kBadgeChanges[] = {analysis::ObjectChange::Added, analysis::ObjectChange::Removed,
                                                     analysis::ObjectChange::Changed};

}  // namespace

HIMAGELIST CreateTreeImages() {
  std::vector<TPicture> pictures;
  for (int i = 0; i < kTreeImageCount; ++i) pictures.push_back(TreePicture(i));
  for (analysis::ObjectChange change : kBadgeChanges)
    for (int i = 0; i < kTreeImageCount; ++i) pictures.push_back(BadgedTreePicture(i, change));
  return CreateImageList(pictures);
}

int BadgedTreeImage(int index, analysis::ObjectChange change) {
  int list = 1;
  for (analysis::ObjectChange c : kBadgeChanges) {
    if (c == change) break;
    ++list;
  }
  return list * kTreeImageCount + index;
}

HIMAGELIST CreateViewerImages() {
  std::vector<TPicture> pictures;
  for (int32_t kind = 0; kind < kViewerImageCount; ++kind) pictures.push_back(ViewerPicture(kind));
  return CreateImageList(pictures);
}

}  // namespace brannock::ui
