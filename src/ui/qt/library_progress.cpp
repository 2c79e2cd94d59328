#include "ui/qt/library_progress.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "ui/qt/qt_text.h"

namespace brannock::ui {

LibraryProgressWindow::LibraryProgressWindow(QWidget* owner) : QDialog(owner) {
  setObjectName("frmLibraryProgress");
  setWindowTitle(ToQt(kReadingLibrariesCaption));
  setWindowModality(Qt::ApplicationModal);
  auto* v = new QVBoxLayout(this);
  Status = new QLabel(this);
  Status->setMinimumWidth(300);
  v->addWidget(Status);
  Bar = new QProgressBar(this);
  Bar->setTextVisible(false);
  v->addWidget(Bar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  bCancel = buttons->button(QDialogButtonBox::Cancel);
  v->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &LibraryProgressWindow::reject);
}

void LibraryProgressWindow::Progress(TextView text, size_t done, size_t total) {
  Status->setText(ToQt(text));
  const auto clamp = [](size_t n) { return static_cast<int>(std::min<size_t>(n, INT_MAX)); };
  Bar->setRange(0, clamp(total));
  Bar->setValue(clamp(done));
  if (!isVisible()) show();
  // Cancel is clicked between two libraries.
  QCoreApplication::processEvents();
}

void LibraryProgressWindow::reject() {
  cancelled_ = true;
  bCancel->setEnabled(false);
}

}  // namespace brannock::ui
