// The About dialog: product, version, copyright and description on a grey
// band that also serves as the title bar, the terms of use, the maker's
// addresses as links, and an OK button.
#pragma once

#include <QDialog>

#include "platform/version_info.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace brannock::ui {

class TdlgAbout : public QDialog {
 public:
  TdlgAbout(QWidget* owner, const platform::TVersionInfo& version);

  // Controls.
  QWidget* Panel2;
  QLabel* Icon;
  QLabel* lProduct;
  QLabel* lVer;
  QLabel* lCR;
  QLabel* lDesc;
  QLabel* Image1;
  QWidget* Panel1;
  QPlainTextEdit* mLic;
  QLabel* lEmail;
  QLabel* lWWW;
  QWidget* Panel3;
  QPushButton* Button2;

  // Handlers.
  void cmEmail();
  void cmHomepage();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FillTexts(const platform::TVersionInfo& version);
  // Presses and moves on the top band drag the dialog.
  bool FormMouseDown(QEvent* event);

  QPoint dragOffset_;
  bool dragging_ = false;
};

// Shows the dialog modally, owned by `owner`, with the program's version
// information.
void ShowAbout(QWidget* owner);

}  // namespace brannock::ui
