#include "ui/qt/find_result_model.h"

#include <iterator>

#include "ui/qt/qt_text.h"
#include "ui/qt/window_images.h"

namespace brannock::ui {

namespace {

constexpr int kColumns = static_cast<int>(std::size(kFindColumns));

}  // namespace

void FindResultModel::SetRows(std::vector<FindRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int FindResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FindResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant FindResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const FindRow& row = rows_[static_cast<size_t>(index.row())];
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    switch (index.column()) {
      case 0: return ToQt(row.name);
      case 1: return ToQt(row.guid);
      case 2: return ToQt(row.field);
      default: return {};
    }
  }
  if (role == Qt::DecorationRole && index.column() == 0 && row.image >= 0 && row.image < kTreeImageCount)
    return TreeImages()[static_cast<size_t>(row.image)];
  return {};
}

QVariant FindResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
  return ToQt(kFindColumns[section]);
}

}  // namespace brannock::ui
