#include "ui/qt/window_images.h"

#include <QPixmap>
#include <map>

namespace brannock::ui {

QImage PictureImage(const TPixels& pixels) {
  QImage image(kPictureSize, kPictureSize, QImage::Format_ARGB32);
  for (int y = 0; y < kPictureSize; ++y)
    for (int x = 0; x < kPictureSize; ++x) image.setPixel(x, y, pixels[y * kPictureSize + x]);
  return image;
}

QIcon PictureIcon(const TPicture& picture) {
  if (picture.empty()) return {};
  return QIcon(QPixmap::fromImage(PictureImage(Rasterize(picture))));
}

const std::array<QIcon, kTreeImageCount>& TreeImages() {
  static const std::array<QIcon, kTreeImageCount> images = [] {
    std::array<QIcon, kTreeImageCount> icons;
    for (int i = 0; i < kTreeImageCount; ++i) icons[static_cast<size_t>(i)] = PictureIcon(TreePicture(i));
    return icons;
  }();
  return images;
}

const QIcon& BadgedTreeImage(int index, analysis::ObjectChange change) {
  static std::map<std::pair<int, analysis::ObjectChange>, QIcon> made;
  auto [it, fresh] = made.try_emplace({index, change});
  if (fresh) it->second = PictureIcon(BadgedTreePicture(index, change));
  return it->second;
}

std::array<QIcon, kViewerImageCount> ViewerImageList() {
  std::array<QIcon, kViewerImageCount> icons;
  for (int32_t kind = 0; kind < kViewerImageCount; ++kind)
    icons[static_cast<size_t>(kind)] = PictureIcon(ViewerPicture(kind));
  return icons;
}

}  // namespace brannock::ui
