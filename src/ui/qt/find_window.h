// The main window's modeless Find window (View > "Find...", Ctrl+F): a text
// box over the list of the objects it matches (kind image, name, GUID, the
// field that matched), searched again as the user types, and the count line
// below. Enter or a double click goes to the chosen row's object in the
// main window (the first row when none is chosen); Esc closes the window.
#pragma once

#include <QDialog>

#include "ui/logic/find_commands.h"

class QLabel;
class QLineEdit;
class QTreeView;

namespace brannock::ui {

class FindResultModel;

class FindWindow : public QDialog {
 public:
  FindWindow(QWidget* owner, TFindCommands& commands);

  QLineEdit* eText = nullptr;
  QTreeView* List = nullptr;
  QLabel* Count = nullptr;

  // The list and the count for the text as it is now.
  void Search();
  // Enter, a double click: the object of the chosen row, else of the first.
  void GoToChosen();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TFindCommands& commands_;
  FindResultModel* rows_ = nullptr;
};

}  // namespace brannock::ui
