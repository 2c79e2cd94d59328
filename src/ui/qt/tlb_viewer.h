// The type library viewer: a modal window with the tree of a library's
// types beside the rendered declaration unit, with navigation from the
// tree, find and print. The commands are TViewerCommands'
// (ui/logic/viewer_commands.h); this class supplies their controls.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "typelib/access.h"
#include "ui/logic/typelib_view.h"
#include "ui/logic/viewer_commands.h"
#include "ui/qt/busy.h"
#include "ui/qt/window_images.h"

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

class TfrmTLBView : public QDialog, public TViewerCommands {
 public:
  explicit TfrmTLBView(QWidget* owner);
  ~TfrmTLBView() override;

  // Fills Tree from the library; reading stops at the first failure and the
  // tree keeps what was added (the root then stays collapsed).
  void FillTree(typelib::TypeLib& lib) override;
  void ShowModal() override { exec(); }

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
  QMenu* View1;
  QAction* mmPascal;
  QAction* mmIdl;
  TTypeTreeWidget* Tree;
  QSplitter* Splitter;
  TViewerEditor* SynMemo;
  QStatusBar* sb;
  QLabel* sbPanel0;
  QLabel* sbPanel1;
  TFindDialog* fd;
  std::array<QIcon, kViewerImageCount> ImageList;

  // Handlers (the commands are TViewerCommands').
  static QString TreeGetText(const TTypeNode& node, int childCount);
  QIcon TreeGetImageIndex(const TTypeNode& node) const;
  void TreeResize();
  void cmPrint();
  void cmExit();

 private:
  void FormCreate();
  void CreateMenu();
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const TTypeNode& node, int childCount);

  // The commands' controls.
  void SetLanguage(TUnitLanguage language) override;
  std::optional<TTypeNode> FocusedTypeNode() const override;
  void SetUnitText(TextList lines) override;
  void SelectRange(int64_t anchor, int64_t caret) override;
  void SelectApartFromCaret(int64_t selectionStart, int64_t selectionEnd, int64_t caret) override;
  void SetFirstVisibleLine(int64_t line) override;
  int64_t CaretPosition() const override;
  int64_t LineOfPosition(int64_t position) const override;
  int64_t PositionBefore(int64_t position) const override;
  std::optional<TEditorMatch> FindDeclaration(TextView nodeText) override;
  std::optional<TEditorMatch> Search(TextView what, int64_t from, const TFindOptions& options) override;
  Text WordAtCaret() const override;
  CaretPlace Caret() const override;
  void ShowCaretLine(bool show) override;
  void FocusEditor() override;
  TFindRequest FindDialogRequest() const override;
  void SetFindDown() override;
  void ShowFindDialog(TextView text) override;
  void SetCaretStatus(TextView text) override;
  BusyDisplay& StatusDisplay() override { return statusDisplay_; }

  QtBusyDisplay statusDisplay_{nullptr, nullptr};
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
