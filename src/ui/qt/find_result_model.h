// The rows of the Find window's list as a table model: the name column with
// the object tree's image of the kind, the GUID and the field that matched.
// A new result replaces all rows at once.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "ui/logic/find_window.h"

namespace brannock::ui {

class FindResultModel : public QAbstractTableModel {
 public:
  explicit FindResultModel(QObject* parent) : QAbstractTableModel(parent) {}

  void SetRows(std::vector<FindRow> rows);
  const FindRow& Row(size_t row) const { return rows_[row]; }
  size_t Rows() const { return rows_.size(); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<FindRow> rows_;
};

}  // namespace brannock::ui
