// Writes the program icon into an icon theme folder for installation:
//   brannock-write-icons DIR
// gives DIR/hicolor/SIZExSIZE/apps/brannock.png for each size of the theme.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/qt/program_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: brannock-write-icons DIR\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int size : {16, 32, 48, 128, 256}) {
    const QString dir = QString("%1/hicolor/%2x%2/apps").arg(root).arg(size);
    if (!QDir().mkpath(dir) || !brannock::ui::PaintProgramIcon(size).save(dir + "/brannock.png")) {
      std::fprintf(stderr, "brannock-write-icons: cannot write %s\n", qPrintable(dir));
      return 1;
    }
  }
  return 0;
}
