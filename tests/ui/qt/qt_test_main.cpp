// GoogleTest inside a QApplication, offscreen unless a platform was chosen.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Brannock"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
