#include "ui/qt/about_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace brannock::ui {
namespace {

// Receives the links the dialog asks the system to open.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;
  Q_INVOKABLE void Open(const QUrl& url) { urls << url; }
};

platform::TVersionInfo ProgramVersion() { return platform::ReadVersionInfo(); }

TEST(AboutDialog, Texts) {
  TdlgAbout dialog(nullptr, ProgramVersion());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About...."));
  EXPECT_EQ(dialog.lProduct->text(), QStringLiteral("Brannock"));
  EXPECT_EQ(dialog.lVer->text(), QStringLiteral("Version 1.3.0.0"));
  EXPECT_EQ(dialog.lDesc->text(), QStringLiteral("Brannock"));
  EXPECT_FALSE(dialog.lCR->text().isEmpty());
  EXPECT_EQ(dialog.lEmail->text(), QStringLiteral("brannock@example.org"));
  EXPECT_EQ(dialog.lWWW->text(), QStringLiteral("brannock.example.org"));
  EXPECT_TRUE(dialog.lProduct->font().bold());
  EXPECT_TRUE(dialog.lVer->font().bold());
  EXPECT_TRUE(dialog.lDesc->wordWrap());
  EXPECT_TRUE(dialog.lEmail->font().underline());
  EXPECT_EQ(dialog.lWWW->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(dialog.Icon->pixmap().isNull());
  EXPECT_FALSE(dialog.Image1->pixmap().isNull());

  // The terms of use, read-only, caret at the start and nothing selected.
  EXPECT_TRUE(dialog.mLic->isReadOnly());
  EXPECT_TRUE(dialog.mLic->toPlainText().contains(QStringLiteral("without warranty")));
  EXPECT_EQ(dialog.mLic->textCursor().position(), 0);
  EXPECT_FALSE(dialog.mLic->textCursor().hasSelection());

  // Comments, when there are any, take the description's place.
  platform::TVersionInfo beta = ProgramVersion();
  beta.Comments = QStringLiteral("Nightly build").toStdU16String();
  beta.PreRelease = true;
  beta.Build = 7;
  TdlgAbout betaDialog(nullptr, beta);
  EXPECT_EQ(betaDialog.lDesc->text(), QStringLiteral("Nightly build"));
  EXPECT_EQ(betaDialog.lVer->text(), QStringLiteral("Version 1.3.0.7 BETA 7"));
}

TEST(AboutDialog, LayoutWithoutTitleBar) {
  TdlgAbout dialog(nullptr, ProgramVersion());
  dialog.show();
  EXPECT_EQ(dialog.size(), QSize(462, 367));
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(dialog.Panel2->height(), 117);
  EXPECT_EQ(dialog.Panel3->height(), 44);
  EXPECT_EQ(dialog.Panel2->geometry().topLeft(), QPoint(1, 1));
  EXPECT_EQ(dialog.Panel3->geometry().bottom(), 367 - 2);
  EXPECT_EQ(dialog.Panel1->palette().color(QPalette::Window), QColor(Qt::white));
  // The black frame shows around the bands.
  const QImage image = dialog.grab().toImage();
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(461, 200), QColor(Qt::black));
  EXPECT_EQ(dialog.lDesc->width(), 394);
  EXPECT_TRUE(dialog.Button2->isDefault());
}

TEST(AboutDialog, LinksOpenThroughTheSystem) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
  TdlgAbout dialog(nullptr, ProgramVersion());
  dialog.show();
  QTest::mouseClick(dialog.lEmail, Qt::LeftButton);
  QTest::mouseClick(dialog.lWWW, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl(QStringLiteral("mailto:brannock@example.org")),
                                       QUrl(QStringLiteral("https://brannock.example.org"))}));
}

TEST(AboutDialog, DraggedByTheTopBand) {
  TdlgAbout dialog(nullptr, ProgramVersion());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog, 60000));
  for (QWidget* handle : {dialog.Panel2, static_cast<QWidget*>(dialog.lProduct)}) {
    const QPoint before = dialog.pos();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(45, 25), handle->mapToGlobal(QPointF(45, 25)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(45, 25));
    EXPECT_EQ(dialog.pos() - before, QPoint(40, 20));
  }
  // The white band does not drag.
  const QPoint before = dialog.pos();
  QTest::mousePress(dialog.Panel1, Qt::LeftButton, {}, QPoint(5, 5));
  QMouseEvent move(QEvent::MouseMove, QPointF(45, 25), dialog.Panel1->mapToGlobal(QPointF(45, 25)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(dialog.Panel1, &move);
  EXPECT_EQ(dialog.pos(), before);
}

TEST(AboutDialog, EnterAndEscClose) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    QWidget owner;
    bool owned = false, closedByKey = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = dynamic_cast<TdlgAbout*>(QApplication::activeModalWidget());
      if (!dialog) return;
      owned = dialog->parentWidget() == &owner;
      QTest::keyClick(dialog->Button2, key);
      closedByKey = !dialog->isVisible();
      if (!closedByKey) dialog->reject();  // do not hang the test
    });
    ShowAbout(&owner);
    EXPECT_TRUE(owned) << key;
    EXPECT_TRUE(closedByKey) << key;
    EXPECT_TRUE(owner.findChildren<TdlgAbout*>().isEmpty());
  }
}

}  // namespace
}  // namespace brannock::ui

#include "about_dialog_test.moc"
