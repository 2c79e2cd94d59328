// The type library viewer: a modal window with the tree of a library's
// types beside the rendered declaration unit, with navigation from the
// tree, find and print.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "typelib/access.h"
#include "ui/logic/typelib_view.h"
#include "ui/qt/viewer_images.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QTreeWidgetItem;
class QsciPrinter;

namespace brannock::ui {

class TFindDialog;
class TTypeTreeWidget;
class TViewerEditor;
struct TTypeNode;

class TfrmTLBView : public QDialog, public TypeLibViewWindow {
 public:
  explicit TfrmTLBView(QWidget* owner);
  ~TfrmTLBView() override;

  // Fills Tree from the library; reading stops at the first failure and the
  // tree keeps what was added (the root then stays collapsed).
  void FillTree(typelib::TypeLib& lib) override;
  // The unit's text in the editor, its name kept, the status shown.
  void ShowUnit(TextList lines, Text unitName) override;

  // Prints on a printer already set up (cmPrint asks the print dialog for
  // it). An error goes to the general error report.
  void PrintTo(QsciPrinter& printer);

  // Controls.
  QMenuBar* MainMenu;
  QMenu* File1;
  QAction* mmPrint;
  QAction* N1;
  QAction* mmExit;
  QMenu* Edit1;
  QAction* mmFind;
  QAction* mmFindNext;
  TTypeTreeWidget* Tree;
  QSplitter* Splitter;
  TViewerEditor* SynMemo;
  QStatusBar* sb;
  QLabel* sbPanel0;
  QLabel* sbPanel1;
  TFindDialog* fd;
  std::array<QIcon, kViewerImageCount> ImageList;

  // The caret line at the last status update; -1 before the first.
  int FCurrentLine = -1;
  // The library's unit name, for the print title.
  Text FUnitname;

  // Handlers.
  static QString TreeGetText(const TTypeNode& node, int childCount);
  QIcon TreeGetImageIndex(const TTypeNode& node) const;
  void TreeDblClick();
  void TreeResize();
  void SynMemoStatusChange();
  void cmFind();
  void fdFind();
  void cmFindNext();
  void cmPrint();
  void cmExit();

 private:
  void FormCreate();
  void CreateMenu();
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const TTypeNode& node, int childCount);
  // Runs the find dialog's search from the caret; false when nothing was
  // found (or the text is empty).
  bool SearchFromCaret();
};

// Opens the library of `record` and prepares its window (tree, text,
// status) without showing it; null after a load failure, which the error
// box has reported. Errors of the renderer are raised.
std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                             QWidget* owner);

// Loads the library of `record`, shows it modally and returns when the user
// has closed the window. A load failure is shown in the error box; an error
// of the renderer goes to the general error report.
void ViewTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader, QWidget* owner);

}  // namespace brannock::ui
