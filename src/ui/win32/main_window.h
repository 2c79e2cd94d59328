// TfrmMain on Win32: the object tree of the four collections on the left,
// the detail pane of the selected node on the right, the menus, and the
// status bar. Every line and rule comes from ui/logic, as in the Qt window;
// this class only moves them in and out of comctl32 controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "registry/registry_backend.h"
#include "registry/viewed_registry.h"
#include "ui/logic/object_tree.h"
#include "ui/logic/registry_tree_builder.h"
#include "ui/logic/type_ahead.h"
#include "ui/logic/window_settings.h"

namespace brannock::ui {

// WM_COMMAND identifiers of the menu items, the buttons and the
// accelerator. The Save items run from kSaveFirst with their tag added.
enum MainCommand : WORD {
  cmdViewTypeLib = 100,
  cmdHex,
  cmdSaveFirst,  // + tag 0..3: Application IDs, Interfaces, Object Classes, Type Libraries
  cmdRefresh = cmdSaveFirst + 4,
  cmdExit,
  cmdView,
  cmdCreateInst,
  cmdReg,
  cmdUnreg,
  cmdAbout,
  cmdButtonView,
  cmdButtonCopy,
  cmdButtonReg,
  cmdButtonUnreg,
  cmdView64,  // the View menu's radio items
  cmdView32,
};

inline constexpr wchar_t kMainWindowClass[] = L"BrannockMainWindow";

class TfrmMain {
 public:
  struct Options {
    // HKEY_CURRENT_USER: where the placement is kept; none keeps nothing.
    registry::RegistryBackend* settings = nullptr;
    // A batch run failed in the creation: no environment and no roots.
    bool batchFailed = false;
    // Closing the window ends the message loop (WM_QUIT); tests keep it
    // running.
    bool quitOnClose = true;
    // The registry shown, for the second status bar panel ("Live
    // registry"); empty shows one panel.
    Text sourceText;
    // The registry the catalogue reads, in the view the View menu chooses;
    // none shows no View menu.
    registry::ViewedRegistry* view = nullptr;
  };

  // FormCreate: the window exists, hidden, with four collapsed roots.
  TfrmMain(Catalogue& catalogue, Options options);
  ~TfrmMain();
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  HWND Handle() const { return window_; }
  HACCEL Accelerators() const { return accelerators_; }
  // The first showing reads the settings, then shows the window as they
  // say (or with `showCommand` when they say nothing).
  void Show(int showCommand);

  // Chooses the file a Save command writes, given the suggested name; an
  // empty text when the user cancels. The default shows the save dialog.
  using FileChooser = std::function<Text(HWND owner, TextView suggested)>;
  static void SetSaveFileChooser(FileChooser chooser);
  // The open dialog of "View TypeLib...".
  static void SetTypeLibFileChooser(FileChooser chooser);

  // Controls.
  HWND Tree = nullptr, RegTree = nullptr, imgDefaultIcon = nullptr, eName = nullptr, eGUID = nullptr;
  HWND pc = nullptr, Memo = nullptr, bView = nullptr, bCopy = nullptr, bReg = nullptr, bUnreg = nullptr;
  HWND sb = nullptr;
  HMENU Menu = nullptr;
  HTREEITEM OCRoot = nullptr, AIRoot = nullptr, TLRoot = nullptr, IFRoot = nullptr;

  // Object tree.
  void CreateTree();
  void FillKey(HTREEITEM root, const TObjects& list);
  void SetTree();
  void Refresh();
  void TreeExpanding(HTREEITEM node);
  // A character typed into Tree at `timeMs`, the time of its key message.
  void TreeKeyPress(wchar_t typed, int64_t timeMs);

  // Detail pane.
  void TreeChange(HTREEITEM node);
  void RegTreeChange(HTREEITEM line);
  void mmHexClick();

  // Commands.
  void cmSave(int tag);
  void cmRefresh() { Refresh(); }
  void cmExit();
  void bCopyClick();
  void bRegClick(int tag);
  void cmCreateInst();
  void cmViewTLB();
  void cmViewTypeLib();
  void cmAbout();
  // The View menu: all four collections read anew from the other view.
  void cmChooseView(registry::RegistryView view);

  // The node record of a tree node; null for none.
  TObjectNode* NodeOf(HTREEITEM item) const;
  bool IsRoot(HTREEITEM item) const;
  // The nodes below a root in tree order, with their records, as the
  // window filled them: no message to the tree view, whose look-up of an
  // item takes time in proportion to the number of items.
  struct LoadedNode {
    HTREEITEM item;
    const TObjectNode* record;
  };
  const std::vector<LoadedNode>& LoadedChildren(TObjectType typ) const {
    return loaded_[static_cast<size_t>(typ)];
  }
  HTREEITEM RootOf(TObjectType typ) const;
  HTREEITEM FocusedNode() const;
  Text StatusText() const;
  // The text of status bar panel `panel` (0 is the running status).
  Text StatusPanelText(int panel) const;
  // The status bar panel naming the view (1 with a view, else none: -1).
  int ViewPanel() const { return options_.view ? 1 : -1; }
  int TreeWidth() const { return treeWidth_; }
  // Status bar panels after the first: a source's name and the like.
  void SetStatusPanels(const std::vector<int>& extraWidths);
  void SetStatusPanelText(int panel, TextView text);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class MainWindowBusyDisplay;
  void CreateControls();
  void BuildMenus();
  HMENU BuildViewMenu();
  void ShowView();
  void Layout();
  void SetFonts();
  void SetStatusText(TextView text);
  void RepaintNow();
  LRESULT OnNotify(NMHDR* header);
  void OnCommand(WORD id);
  void ShowDetails(HTREEITEM item);
  void FillRegTree(const std::vector<RegLine>& lines, bool expand);
  void ShowPane(bool visible);
  // No object shown: header, registry tree and memo empty, the page hidden.
  void ClearPane();
  void SetHeaderIcon(HICON icon);
  std::optional<TObjectData> FocusedObject() const;
  void ViewObjectTypeLib(const TObjectData& record);
  void ReadWindowSettings();
  void WriteWindowSettings();
  ScreenInfo Screens() const;
  Placement CurrentPlacement() const;
  bool InSplitter(int x) const;

  Catalogue& catalogue_;
  Options options_;
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT font_ = nullptr, boldFont_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HICON headerIcon_ = nullptr;
  bool hex_ = true;
  int treeWidth_ = 301;
  bool dragging_ = false;
  bool paneVisible_ = false;
  std::vector<int> statusWidths_;
  // The registry tree's lines; each item's lParam is its index here, so the
  // memo and the summary get a line's whole text.
  std::vector<RegLine> regLines_;
  std::array<std::vector<LoadedNode>, 4> loaded_;
  TypeAheadSearch typeAhead_;
  bool settingsRead_ = false;
  bool settingsWritten_ = false;
};

// Registers the window class once (the program and the tests).
void RegisterMainWindowClass();

}  // namespace brannock::ui
