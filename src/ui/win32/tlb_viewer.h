// The type library viewer on Windows: a modal window owned by the main
// window with the tree of a library's types beside the rendered declaration
// unit in the program's own text view, with navigation from the tree, find
// (the common Find dialog) and print (the common Print dialog and GDI). The
// commands are TViewerCommands' (ui/logic/viewer_commands.h); this class
// supplies their controls.
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
#include "ui/logic/type_ahead.h"
#include "ui/logic/type_tree.h"
#include "ui/logic/typelib_view.h"
#include "ui/logic/viewer_commands.h"
#include "ui/win32/busy_status.h"

namespace brannock::ui {

class TTextView;

inline constexpr wchar_t kViewerWindowClass[] = L"BrannockTypeLibViewer";

class TfrmTLBView : public TViewerCommands {
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
  void SetUnitText(TextList lines) override;
  // Shows the window and returns when it is closed (and destroyed).
  void ShowModal() override;

  // Prints on a device context the print dialog returned; an error goes to
  // the general error report.
  void PrintTo(HDC printer);

  HWND Handle() const { return window_; }
  HWND Owner() const { return owner_; }
  // The tree's width as the user set it; it shows less of it while the
  // window is too narrow.
  int TreeWidth() const { return treeWidth_; }
  // The dpi the window is drawn at (window_dpi.h).
  UINT Dpi() const { return dpi_; }
  // WM_DPICHANGED: fonts and sizes for `dpi`, the window at `suggested`.
  void DpiChanged(UINT dpi, const RECT& suggested);

  // Controls.
  HMENU MainMenu = nullptr;
  HMENU View1 = nullptr;  // "Object Pascal" and "IDL", radio items
  HWND Tree = nullptr;
  TTextView* SynMemo = nullptr;
  HWND Splitter = nullptr;  // between Tree and SynMemo (splitter.h)
  HWND sb = nullptr;
  HWND fd = nullptr;  // the find dialog while it is open
  HIMAGELIST ImageList = nullptr;
  FINDREPLACEW FindRequest{};

  // Handlers (the commands are TViewerCommands').
  void TreeResize();
  void cmPrint();
  void cmExit();

  // The node record of a tree item.
  const TTypeNode* NodeOf(HTREEITEM item) const;
  // Panel texts of the status bar.
  Text PanelText(int panel) const;
  // The type-ahead of the tree, as a typed character reaches it.
  void TreeTypeAhead(wchar_t typed, int64_t timeMs);
  // What the modal loop shows the viewer before dispatching a message: the
  // Find dialog's keys, the accelerators, Tab between the tree and the text
  // (Ctrl+Tab from the text, which takes Tab itself) and the characters
  // typed into the tree. True when the message was handled here.
  bool FilterMessage(MSG& msg);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnNotify(const NMHDR* header);
  // A menu command or accelerator; false for an identifier of none.
  bool OnCommand(WORD id);
  void FormCreate();
  void CreateMenu();
  void Layout();
  void SetFonts();
  // `wanted` within a client area `clientWidth` wide.
  int ShownTreeWidth(int wanted, int clientWidth) const;
  HTREEITEM AddNode(HTREEITEM parent, const TTypeTreeItem& item, int depth);
  void InsertPendingChildren(HTREEITEM item);
  size_t ChildIndex(HTREEITEM item) const;
  void SetPanel(int panel, const Text& text);

  // The commands' controls (tlb_viewer_commands.cpp).
  void SetLanguage(TUnitLanguage language) override;
  std::optional<TTypeNode> FocusedTypeNode() const override;
  void BeginEditorUpdate() override;
  void EndEditorUpdate() override;
  void SelectRange(int64_t anchor, int64_t caret) override;
  void SelectApartFromCaret(int64_t selectionStart, int64_t selectionEnd, int64_t caret) override;
  void SetFirstVisibleLine(int64_t line) override;
  int64_t CaretPosition() const override;
  int64_t LineOfPosition(int64_t position) const override;
  int64_t PositionBefore(int64_t position) const override { return position - 1; }
  std::optional<TEditorMatch> FindDeclaration(TextView nodeText) override;
  std::optional<TEditorMatch> Search(TextView what, int64_t from, const TFindOptions& options) override;
  Text WordAtCaret() const override;
  CaretPlace Caret() const override;
  void ShowCaretLine(bool show) override;
  void FocusEditor() override;
  TFindRequest FindDialogRequest() const override;
  void SetFindDown() override;
  void ShowFindDialog(TextView text) override;
  void SetCaretStatus(TextView text) override { SetPanel(1, Text(text)); }
  BusyDisplay& StatusDisplay() override { return statusDisplay_; }

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
  UINT dpi_ = 96;
  int treeWidth_ = 0;  // in the pixels of dpi_
  HWND focused_ = nullptr;
  Win32BusyDisplay statusDisplay_{[this](TextView text) { SetPanel(0, Text(text)); }, [this] { UpdateWindow(sb); }};
};

// Opens the library of `record` and prepares its window (tree, text,
// status) without showing it; null after a load failure, which the error
// box has reported. Errors of the renderer are raised.
std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader, HWND owner);

// Loads the library of `record`, shows it modally over `owner` and returns
// when the user has closed the window. A load failure is shown in the error
// box; an error of the renderer goes to the general error report.
void ViewTypeLib(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader);

}  // namespace brannock::ui
