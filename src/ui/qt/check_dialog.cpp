#include "ui/qt/check_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

QIcon SeverityIcon(QStyle* style, analysis::Severity s) {
  switch (s) {
    case analysis::Severity::Error: return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case analysis::Severity::Warning: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case analysis::Severity::Note: break;
  }
  return style->standardIcon(QStyle::SP_MessageBoxInformation);
}

}  // namespace

CheckDialog::CheckDialog(QWidget* owner, const std::vector<CheckRow>& rows, const Text& count) : QDialog(owner) {
  setObjectName("dlgCheck");
  setWindowTitle(ToQt(kCheckCaption));
  resize(kCheckWindowWidth, kCheckWindowHeight);
  auto* v = new QVBoxLayout(this);
  List = new QTreeWidget(this);
  List->setRootIsDecorated(false);
  List->setUniformRowHeights(true);
  List->setColumnCount(2);
  List->setHeaderLabels({ToQt(kCheckColumns[0]), ToQt(kCheckColumns[1])});
  List->header()->resizeSection(0, kCheckWindowWidth * 2 / 5);
  List->setIconSize(QSize(16, 16));
  QList<QTreeWidgetItem*> items;
  for (const CheckRow& row : rows) {
    auto* item = new QTreeWidgetItem({ToQt(row.object), ToQt(row.reason)});
    item->setIcon(0, SeverityIcon(style(), row.severity));
    item->setToolTip(0, ToQt(row.keyPath));
    item->setToolTip(1, ToQt(row.reason));
    items.push_back(item);
  }
  List->addTopLevelItems(items);
  v->addWidget(List, 1);
  Count = new QLabel(ToQt(count), this);
  v->addWidget(Count);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  v->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(List, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    const int row = List->indexOfTopLevelItem(item);
    if (row < 0) return;
    chosen_ = static_cast<size_t>(row);
    accept();
  });
}

}  // namespace brannock::ui
