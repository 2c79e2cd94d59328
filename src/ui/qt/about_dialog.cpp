#include "ui/qt/about_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/logic/about_text.h"
#include "ui/logic/window_sizes.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

using namespace about_size;
const QColor kBandGrey(kBandGreyRgb[0], kBandGreyRgb[1], kBandGreyRgb[2]);

QWidget* Band(QWidget* parent, const QColor& colour) {
  auto* band = new QWidget(parent);
  band->setAutoFillBackground(true);
  QPalette palette = band->palette();
  palette.setColor(QPalette::Window, colour);
  band->setPalette(palette);
  return band;
}

QLabel* Label(QWidget* parent, const char* family, int points, bool bold, QRect geometry) {
  auto* label = new QLabel(parent);
  QFont font(QString::fromLatin1(family), points);
  font.setBold(bold);
  label->setFont(font);
  label->setGeometry(geometry);
  return label;
}

// The maker's logo: three stacked blocks, as the builder of the program
// draws them.
QPixmap Logo() {
  QPixmap pixmap(48, 48);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colours[] = {QColor(30, 60, 140), QColor(40, 110, 210), QColor(120, 180, 250)};
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(colours[i].darker(150), 1));
    p.setBrush(colours[i]);
    p.drawRoundedRect(QRectF(4 + 6 * i, 30 - 12 * i, 36 - 12 * i, 12), 3, 3);
  }
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(24, 2), QPointF(24, 14));
  return pixmap;
}

QLabel* Link(QWidget* parent, const char16_t* address) {
  auto* link = new QLabel(ToQt(LinkDisplayText(address)), parent);
  QFont font(QStringLiteral("Consolas"), 8);
  font.setStyleHint(QFont::TypeWriter);
  font.setUnderline(true);
  link->setFont(font);
  QPalette palette = link->palette();
  palette.setColor(QPalette::WindowText, Qt::gray);
  link->setPalette(palette);
  link->setCursor(Qt::PointingHandCursor);
  return link;
}

}  // namespace

TdlgAbout::TdlgAbout(QWidget* owner, const platform::TVersionInfo& version)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  FormCreate();
  FillTexts(version);
}

void TdlgAbout::FormCreate() {
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette frame = palette();
  frame.setColor(QPalette::Window, Qt::black);
  setPalette(frame);

  Panel2 = Band(this, kBandGrey);
  Panel2->setFixedHeight(kTopBandHeight);
  Icon = new QLabel(Panel2);
  Icon->setGeometry(12, 12, 32, 32);
  const QIcon appIcon = QApplication::windowIcon();
  Icon->setPixmap(appIcon.isNull() ? Logo().scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                   : appIcon.pixmap(32, 32));
  lProduct = Label(Panel2, "Tahoma", 14, true, {56, 8, 330, 26});
  lVer = Label(Panel2, "Tahoma", 8, true, {56, 36, 330, 16});
  lCR = Label(Panel2, "Tahoma", 8, false, {56, 52, 330, 16});
  lDesc = Label(Panel2, "Tahoma", 8, false, {56, 72, 394, 32});
  lDesc->setWordWrap(true);
  lDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette navy = lDesc->palette();
  navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
  lDesc->setPalette(navy);
  Image1 = new QLabel(Panel2);
  Image1->setPixmap(Logo());
  Image1->setGeometry(kWidth - 2 - 8 - 48, 8, 48, 48);

  Panel1 = Band(this, Qt::white);
  mLic = new QPlainTextEdit(Panel1);
  mLic->setReadOnly(true);
  mLic->setFrameStyle(QFrame::NoFrame);
  lEmail = Link(Panel1, kMakerEmail);
  lWWW = Link(Panel1, kMakerHomepage);
  auto* links = new QHBoxLayout;
  links->addWidget(lEmail);
  links->addStretch(1);
  links->addWidget(lWWW);
  auto* middle = new QVBoxLayout(Panel1);
  middle->setContentsMargins(10, 10, 10, 3);
  middle->setSpacing(3);
  middle->addWidget(mLic, 1);
  middle->addLayout(links);

  Panel3 = Band(this, kBandGrey);
  Panel3->setFixedHeight(kBottomBandHeight);
  Button2 = new QPushButton(QStringLiteral("OK"), Panel3);
  Button2->setDefault(true);
  Button2->setAutoDefault(true);
  auto* bottom = new QHBoxLayout(Panel3);
  bottom->setContentsMargins(10, 8, 10, 8);
  bottom->addStretch(1);
  bottom->addWidget(Button2);
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  layout->addWidget(Panel2);
  layout->addWidget(Panel1, 1);
  layout->addWidget(Panel3);

  for (QWidget* w : Panel2->findChildren<QWidget*>()) w->installEventFilter(this);
  Panel2->installEventFilter(this);
  lEmail->installEventFilter(this);
  lWWW->installEventFilter(this);

  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - rect().center());
}

void TdlgAbout::FillTexts(const platform::TVersionInfo& version) {
  lProduct->setText(ToQt(version.ProductName));
  lVer->setText(ToQt(VersionLineText(version)));
  lCR->setText(ToQt(version.LegalCopyright));
  lDesc->setText(ToQt(DescriptionText(version)));
  setWindowTitle(ToQt(kAboutCaption));
  mLic->setPlainText(ToQt(TermsOfUseText()));
  QTextCursor start = mLic->textCursor();
  start.movePosition(QTextCursor::Start);
  mLic->setTextCursor(start);
  Button2->setFocus();
}

void TdlgAbout::cmEmail() { QDesktopServices::openUrl(QUrl(ToQt(kMakerEmail))); }

void TdlgAbout::cmHomepage() { QDesktopServices::openUrl(QUrl(ToQt(kMakerHomepage))); }

bool TdlgAbout::FormMouseDown(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
    return false;
  const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
  if (type == QEvent::MouseButtonPress) {
    dragging_ = true;
    dragOffset_ = global - frameGeometry().topLeft();
  } else if (type == QEvent::MouseMove) {
    if (!dragging_) return false;
    move(global - dragOffset_);
  } else {
    dragging_ = false;
  }
  return true;
}

bool TdlgAbout::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == lEmail) {
      cmEmail();
      return true;
    }
    if (watched == lWWW) {
      cmHomepage();
      return true;
    }
  }
  if (watched == Panel2 || (watched->isWidgetType() && static_cast<QWidget*>(watched)->parentWidget() == Panel2))
    return FormMouseDown(event);
  return QDialog::eventFilter(watched, event);
}

void ShowAbout(QWidget* owner) {
  TdlgAbout dialog(owner, platform::ReadVersionInfo());
  dialog.exec();
}

}  // namespace brannock::ui
