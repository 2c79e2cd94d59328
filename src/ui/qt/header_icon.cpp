#include "ui/qt/header_icon.h"

#include <QFileIconProvider>
#include <QFile>
#include <QFileInfo>
#include <QBuffer>
#include <QImageReader>

#include "platform/file_reading.h"
#include "typelib/pe_resources.h"

namespace brannock::ui {

namespace fs = std::filesystem;

namespace {

QString QtPath(const fs::path& p) { return QString::fromStdString(p.string()); }

// Larger files are not searched for icons.
constexpr uintmax_t kMaxIconFileBytes = 256u << 20;

// The images of one icon (all its sizes; the view picks the 32x32 one).
QIcon IcoIcon(QIODevice& device) {
  QImageReader reader(&device, "ico");
  QIcon icon;
  for (int i = 0, count = reader.imageCount(); i < count; ++i) {
    reader.jumpToImage(i);
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

QIcon PeIcon(const fs::path& file, int index) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(file, kMaxIconFileBytes, &bytes)) return {};
  const typelib::ByteSpan span(bytes);
  if (!typelib::IsPeFile(span)) return {};
  const auto ico = typelib::ExtractIconFile(span, index);
  if (!ico) return {};
  QByteArray array(reinterpret_cast<const char*>(ico->data()), static_cast<qsizetype>(ico->size()));
  QBuffer buffer(&array);
  buffer.open(QIODevice::ReadOnly);
  return IcoIcon(buffer);
}

}  // namespace

QIcon ExtractFileIcon(const fs::path& file, int index) {
  if (file.empty()) return {};
  const QString path = QtPath(file);
  if (QFileInfo(path).suffix().compare("ico", Qt::CaseInsensitive) == 0) {
    // An .ico file holds one icon: index 0 is all of it.
    if (index != 0) return {};
    QFile ico(path);
    if (!ico.open(QIODevice::ReadOnly)) return {};
    return IcoIcon(ico);
  }
  return PeIcon(file, index);
}

QIcon AssociatedFileIcon(const fs::path& file) {
  if (file.empty()) return {};
  QFileIconProvider provider;
  return provider.icon(QFileInfo(QtPath(file)));
}

QIcon HeaderIcon(const TObjectData& snapshot, const HostFileLocator& locator, bool wow64Files) {
  fs::path located;
  for (const Text* candidate : {&snapshot.DefaultIcon, &snapshot.Server}) {
    const IconLocation loc = SplitIconLocation(*candidate);
    located = locator.LocateIconFile(loc.file, wow64Files);
    QIcon icon = ExtractFileIcon(located, loc.index);
    if (!icon.isNull()) return icon;
  }
  return AssociatedFileIcon(located);
}

}  // namespace brannock::ui
