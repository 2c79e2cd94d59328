// GoogleTest inside a QApplication, offscreen unless a platform was chosen.
#include <gtest/gtest.h>

#include "ui/qt/error_report.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // As the program's: an error that escapes an event handler is reported.
  brannock::ui::BrannockApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Brannock"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
