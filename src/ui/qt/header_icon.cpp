#include "ui/qt/header_icon.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>

namespace brannock::ui {

namespace fs = std::filesystem;

namespace {

QString QtPath(const fs::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

QIcon ExtractFileIcon(const fs::path& file, int index) {
  if (file.empty()) return {};
  const QString path = QtPath(file);
  if (QFileInfo(path).suffix().compare("ico", Qt::CaseInsensitive) == 0) {
    QImageReader reader(path, "ico");
    if (index < 0 || index >= reader.imageCount()) return {};
    reader.jumpToImage(index);
    const QImage image = reader.read();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
  }
  return {};
}

QIcon AssociatedFileIcon(const fs::path& file) {
  if (file.empty()) return {};
  QFileIconProvider provider;
  return provider.icon(QFileInfo(QtPath(file)));
}

QIcon HeaderIcon(const TObjectData& snapshot, const HostFileLocator& locator) {
  fs::path located;
  for (const Text* candidate : {&snapshot.DefaultIcon, &snapshot.Server}) {
    const IconLocation loc = SplitIconLocation(*candidate);
    located = locator.LocateIconFile(loc.file);
    QIcon icon = ExtractFileIcon(located, loc.index);
    if (!icon.isNull()) return icon;
  }
  return AssociatedFileIcon(located);
}

}  // namespace brannock::ui
