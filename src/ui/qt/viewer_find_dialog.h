// The viewer's modeless find dialog (fd): the text, the direction and the
// match-case and whole-word options; its find button asks the window to
// search.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace brannock::ui {

class TFindDialog : public QDialog {
 public:
  explicit TFindDialog(QWidget* parent = nullptr);

  QString FindText() const;
  void SetFindText(const QString& text);
  bool Down() const;
  void SetDown(bool down);
  bool MatchCase() const;
  void SetMatchCase(bool on);
  bool WholeWord() const;
  void SetWholeWord(bool on);

  // The find button.
  std::function<void()> OnFind;

 private:
  QLineEdit* text_;
  QRadioButton* up_;
  QRadioButton* down_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
};

}  // namespace brannock::ui
