#include "ui/qt/viewer_find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace brannock::ui {

TFindDialog::TFindDialog(QWidget* parent)
    : QDialog(parent),
      text_(new QLineEdit(this)),
      up_(new QRadioButton(QStringLiteral("&Up"), this)),
      down_(new QRadioButton(QStringLiteral("&Down"), this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      wholeWord_(new QCheckBox(QStringLiteral("Match &whole word only"), this)) {
  setWindowTitle(QStringLiteral("Find"));
  setModal(false);

  auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
  label->setBuddy(text_);
  auto* findButton = new QPushButton(QStringLiteral("&Find Next"), this);
  findButton->setDefault(true);
  auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);

  auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);
  down_->setChecked(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(text_, 0, 1);
  grid->addWidget(findButton, 0, 2);
  auto* options = new QVBoxLayout;
  options->addWidget(wholeWord_);
  options->addWidget(matchCase_);
  grid->addLayout(options, 1, 0, 1, 1);
  grid->addWidget(direction, 1, 1);
  grid->addWidget(cancelButton, 1, 2, Qt::AlignTop);

  connect(findButton, &QPushButton::clicked, this, [this] {
    if (OnFind) OnFind();
  });
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::close);
}

QString TFindDialog::FindText() const { return text_->text(); }
void TFindDialog::SetFindText(const QString& text) {
  text_->setText(text);
  text_->selectAll();
}
bool TFindDialog::Down() const { return down_->isChecked(); }
void TFindDialog::SetDown(bool down) { (down ? down_ : up_)->setChecked(true); }
bool TFindDialog::MatchCase() const { return matchCase_->isChecked(); }
void TFindDialog::SetMatchCase(bool on) { matchCase_->setChecked(on); }
bool TFindDialog::WholeWord() const { return wholeWord_->isChecked(); }
void TFindDialog::SetWholeWord(bool on) { wholeWord_->setChecked(on); }

}  // namespace brannock::ui
