// The type library viewer on Windows: a modal window owned by the main
// window with the tree of a library's types beside the rendered declaration
// unit in the program's own text view, with navigation from the tree, find
// (the common Find dialog) and print (the common Print dialog and GDI).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <memory>
#include <vector>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "typelib/access.h"
#include "ui/logic/print_layout.h"
#include "ui/logic/type_ahead.h"
#include "ui/logic/type_tree.h"
#include "ui/logic/typelib_view.h"

namespace brannock::ui {

class TTextView;

inline constexpr wchar_t kViewerWindowClass[] = L"BrannockTypeLibViewer";

class TfrmTLBView : public TypeLibViewWindow {
 public:
  // Creates the window (hidden) owned by `owner`.
  explicit TfrmTLBView(HWND owner);
  ~TfrmTLBView() override;
  TfrmTLBView(const TfrmTLBView&) = delete;
  TfrmTLBView& operator=(const TfrmTLBView&) = delete;

  // Fills Tree from the library; reading stops at the first failure and the
  // tree keeps what was added (the root then stays collapsed).
  void FillTree(typelib::TypeLib& lib) override;
  // Puts the unit's lines into the text view.
  void SetUnitLines(TextList lines);
  // The unit's lines in the text view, its name kept, the status shown.
  void ShowUnit(TextList lines, Text unitName) override;
  // Shows the window and returns when it is closed (and destroyed).
  void ShowModal();

  // Prints on a device context the print dialog returned; an error goes to
  // the general error report.
  void PrintTo(HDC printer);

  HWND Handle() const { return window_; }
  HWND Owner() const { return owner_; }

  // Controls.
  HMENU MainMenu = nullptr;
  HWND Tree = nullptr;
  TTextView* SynMemo = nullptr;
  HWND sb = nullptr;
  HWND fd = nullptr;  // the find dialog while it is open
  HIMAGELIST ImageList = nullptr;
  FINDREPLACEW FindRequest{};

  int FCurrentLine = -1;
  Text FUnitname;

  // Handlers.
  void TreeDblClick();
  void TreeResize();
  void SynMemoStatusChange();
  void cmFind();
  void fdFind();
  void cmFindNext();
  void cmPrint();
  void cmExit();

  // The node record of a tree item.
  const TTypeNode* NodeOf(HTREEITEM item) const;
  // Panel texts of the status bar.
  Text PanelText(int panel) const;
  // The type-ahead of the tree, as a typed character reaches it.
  void TreeTypeAhead(wchar_t typed, int64_t timeMs);
  // What the modal loop shows the viewer before dispatching a message: the
  // Find dialog's keys, the accelerators and the characters typed into the
  // tree. True when the message was handled here.
  bool FilterMessage(MSG& msg);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  void CreateMenu();
  void Layout();
  HTREEITEM AddNode(HTREEITEM parent, const TTypeTreeItem& item, int depth);
  void InsertPendingChildren(HTREEITEM item);
  size_t ChildIndex(HTREEITEM item) const;
  bool SearchFromCaret();
  void SetPanel(int panel, const Text& text);

  HWND owner_;
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT font_ = nullptr;
  // A category whose types are not yet in the control.
  struct Pending {
    HTREEITEM item;
    const TTypeTreeItem* node;
    bool inserted = false;
  };
  TTypeTree tree_;
  std::vector<TTypeNode> nodes_;
  std::vector<Pending> pending_;
  std::array<wchar_t, 256> findText_{};
  std::array<Text, 2> panelTexts_;
  TypeAheadSearch typeAhead_;
  int treeWidth_;
  HWND focused_ = nullptr;
  bool splitting_ = false;
};

// Opens the library of `record` and prepares its window (tree, text,
// status) without showing it; null after a load failure, which the error
// box has reported. Errors of the renderer are raised.
std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader, HWND owner);

// Loads the library of `record`, shows it modally and returns when the user
// has closed the window; for the main window's viewer hook.
void ShowTypeLibViewer(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader);

// The pages of a printout: the layout of `lines` on `device`, and one page
// painted onto any device context (a printer's or a bitmap's) whose origin
// is the paper's top left corner.
TPrintPageLayout ViewerPrintLayout(HDC dc, const TPrintDevice& device, const TextList& lines);
void PaintViewerPage(HDC dc, const TPrintDevice& device, const TextList& lines, int32_t page);

}  // namespace brannock::ui
