// The findings of Object > "Check Registrations": a list with the
// severity's image and the object, the reason, the key path as each row's
// tool tip, and the count line. A double click on a row closes it with
// that row.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "ui/logic/check_window.h"

class QLabel;
class QTreeWidget;

namespace brannock::ui {

class CheckDialog : public QDialog {
 public:
  CheckDialog(QWidget* owner, const std::vector<CheckRow>& rows, const Text& count);

  QTreeWidget* List = nullptr;
  QLabel* Count = nullptr;
  // The row double-clicked; none until then.
  std::optional<size_t> Chosen() const { return chosen_; }

 private:
  std::optional<size_t> chosen_;
};

}  // namespace brannock::ui
