// Writes pictures of the viewer and the About dialog, drawn offscreen:
//   viewer_screenshots OUTDIR [LIBRARY [NODE]]...
// about.png always; viewer_demo.png from the demo library built in memory;
// viewer_NAME.png for each library file, with the node whose shown text is
// NODE (default: the first interface) double-clicked. With $WINEPREFIX set,
// references to registered libraries (stdole2's IDispatch) resolve through
// that prefix's registry.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "platform/version_info.h"
#include "ui/qt/about_dialog.h"
#include "viewer_fixture.h"

namespace {

using namespace brannock;
using namespace brannock::ui;

bool Save(QWidget& widget, const QString& file) {
  widget.show();
  QApplication::processEvents();
  const bool ok = widget.grab().save(file);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
  return ok;
}

void Navigate(TfrmTLBView& view, const QString& shown) {
  for (QTreeWidgetItem* item : view.Tree->AllNodes()) {
    const bool wanted = shown.isEmpty() ? item->text(0).startsWith(QStringLiteral("interface ")) : item->text(0) == shown;
    if (!wanted) continue;
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
    view.Tree->setCurrentItem(item);
    view.TreeDblClick();
    return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: viewer_screenshots OUTDIR [LIBRARY [NODE]]...\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  bool ok = true;

  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  ok &= Save(about, out.filePath(QStringLiteral("about.png")));

  {
    auto lib = testing::DemoLibrary();
    auto loader = testing::LoaderOf(lib);
    auto view = OpenTypeLibView(testing::FileRecord(), loader, nullptr);
    if (!view) return 1;
    Navigate(*view, QStringLiteral("interface IShape"));
    ok &= Save(*view, out.filePath(QStringLiteral("viewer_demo.png")));
  }

  testing::PrefixLoader prefixLoader;
  typelib::TypeLibLoader& loader = *prefixLoader.loader;
  for (int i = 2; i < argc; ++i) {
    const QString file = QString::fromLocal8Bit(argv[i]);
    const QString node = i + 1 < argc && !QFileInfo(QString::fromLocal8Bit(argv[i + 1])).exists()
                             ? QString::fromLocal8Bit(argv[++i])
                             : QString();
    auto view = OpenTypeLibView(testing::FileRecord(FromQt(QFileInfo(file).absoluteFilePath())), loader, nullptr);
    if (!view) {
      ok = false;
      continue;
    }
    Navigate(*view, node);
    ok &= Save(*view, out.filePath(QStringLiteral("viewer_%1.png").arg(QFileInfo(file).baseName())));
  }
  return ok ? 0 : 1;
}
