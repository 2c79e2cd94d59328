// TfrmMain on Win32: the object tree of the four collections on the left,
// the detail pane of the selected node on the right, the menus, and the
// status bar. Every line and rule comes from ui/logic, as in the Qt window;
// this class only moves them in and out of comctl32 controls. The object
// commands are TObjectCommands' (ui/logic/object_commands.h), the
// comparison's TComparisonCommands' (ui/logic/comparison_commands.h),
// Refresh and the View menu's TTreeCommands' (ui/logic/tree_commands.h),
// Find and the References page TFindCommands' (ui/logic/find_commands.h);
// this class supplies their controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "registry/registry_backend.h"
#include "registry/viewed_registry.h"
#include "catalogue/registry_tree_builder.h"
#include "ui/logic/comparison_commands.h"
#include "ui/logic/check_window.h"
#include "ui/logic/find_commands.h"
#include "ui/logic/object_commands.h"
#include "ui/logic/object_tree.h"
#include "ui/logic/type_ahead.h"
#include "ui/logic/window_settings.h"
#include "ui/logic/tree_commands.h"
#include "ui/win32/busy_status.h"

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
  cmdCompareWith,
  cmdEndComparison,
  cmdCheck,  // Object > "Check Registrations"
  cmdFind,   // View > "Find..."
};

// The pages of the detail pane's tab control, each tab's lParam: the
// Registry page always, the References page for an object of the registry
// (not for a difference of a comparison), the Security page for the
// objects it applies to.
enum PanePage : LPARAM { pageRegistry = 0, pageSecurity, pageReferences };

class FindObjectsWindow;

inline constexpr wchar_t kMainWindowClass[] = L"BrannockMainWindow";

class TfrmMain : public TObjectCommands,
                 public TComparisonCommands,
                 public TCheckCommands,
                 public TTreeCommands,
                 public TFindCommands {
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
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  HWND Handle() const { return window_; }
  // What the message loop shows the window before translating and
  // dispatching a message: the accelerators and Tab between the controls.
  // True when the message was handled here.
  bool FilterMessage(MSG& msg);
  // The first showing reads the settings, then shows the window as they
  // say (or with `showCommand` when they say nothing).
  void Show(int showCommand);

  // The Find window, once View > "Find..." made it; null before.
  FindObjectsWindow* FindWindowShown() const { return findWindow_.get(); }
  // The rows the References page lists.
  const std::vector<ReferenceRow>& ReferencesShown() const { return refRows_; }

  // Chooses the file a Save command writes, given the suggested name; an
  // empty text when the user cancels. The default shows the save dialog.
  using FileChooser = std::function<Text(HWND owner, TextView suggested)>;
  static void SetSaveFileChooser(FileChooser chooser);
  // The open dialog of "View TypeLib...".
  static void SetTypeLibFileChooser(FileChooser chooser);
  // The choice among the libraries of a file that holds several: the index
  // of the chosen item, none when the user cancels. The default shows the
  // list (choice_dialog.h).
  using ResourceChooser = std::function<std::optional<size_t>(HWND owner, const TextList& items)>;
  static void SetTypeLibResourceChooser(ResourceChooser chooser);
  // The open dialog of "Compare with...".
  static void SetComparisonSourceChooser(FileChooser chooser);

  // Controls.
  HWND Tree = nullptr, RegTree = nullptr, imgDefaultIcon = nullptr, eName = nullptr, eGUID = nullptr;
  HWND pc = nullptr, Memo = nullptr, bView = nullptr, bCopy = nullptr, bReg = nullptr, bUnreg = nullptr;
  HWND sb = nullptr;
  HWND SecurityText = nullptr;  // the " Security " page: who may launch and access the server
  // The " References " page: the list of references and the notes below it.
  HWND RefList = nullptr, RefNotes = nullptr;
  HWND Splitter = nullptr;  // between Tree and the pane (splitter.h)
  HMENU Menu = nullptr;
  HTREEITEM OCRoot = nullptr, AIRoot = nullptr, TLRoot = nullptr, IFRoot = nullptr;

  // Object tree.
  void FillKey(HTREEITEM root, const TObjects& list);
  void FillComparisonKey(HTREEITEM root, const analysis::RegistryComparison& result);
  void SetTree();
  void TreeExpanding(HTREEITEM node);
  // A character typed into Tree at `timeMs`, the time of its key message.
  void TreeKeyPress(wchar_t typed, int64_t timeMs);

  // Detail pane.
  void TreeChange(HTREEITEM node);
  // The page of the tab chosen shown (TCN_SELCHANGE); the page shown.
  void PageChange();
  PanePage ShownPage() const;
  void RegTreeChange(HTREEITEM line);
  void mmHexClick();

  // Commands (the object commands are TObjectCommands', Refresh and the
  // View menu's TTreeCommands').
  void Refresh() override { TTreeCommands::Refresh(); }
  void cmRefresh() { Refresh(); }
  void cmExit();
  void cmAbout();

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
  // The object tree's width as the user set it (dragged or stored); the
  // tree shows less of it while the window is too narrow.
  int TreeWidth() const { return treeWidth_; }
  // The dpi the window is drawn at (window_dpi.h).
  UINT Dpi() const { return dpi_; }
  // WM_DPICHANGED: fonts and sizes for `dpi`, the window at `suggested`.
  void DpiChanged(UINT dpi, const RECT& suggested);
  // Status bar panels after the first, their widths at 96 dpi: a source's
  // name and the like.
  void SetStatusPanels(const std::vector<int>& extraWidths);
  void SetStatusPanelText(int panel, TextView text);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateControls();
  void BuildMenus();
  HMENU BuildViewMenu();
  void Layout();
  // `wanted` within a client area `clientWidth` wide.
  int ShownTreeWidth(int wanted, int clientWidth) const;
  void SetFonts();
  void SetStatusText(TextView text);
  void RepaintNow();
  LRESULT OnNotify(NMHDR* header);
  void OnCommand(WORD id);
  void ShowDetails(HTREEITEM item);
  // The comparison's controls and pane (main_window_comparison.cpp).
  Text ChooseComparisonSource() override;
  void ShowComparison(const Comparison* comparison) override;
  void ShowDifference(HTREEITEM item);
  void EnableObjectCommands(const CommandStates& states);
  // The status bar's panels after the first: the view's, the registry's
  // and, while comparing, the comparison's.
  void LayOutStatusPanels();
  void FillRegTree(const std::vector<RegLine>& lines, bool expand);
  void ShowPane(bool visible);
  // Refresh's and the View menu's controls (main_window_tree.cpp,
  // main_window_view.cpp, main_window_pane.cpp).
  void CreateTree() override;
  void FillRoot(TObjectType typ, const TObjects& list) override { FillKey(RootOf(typ), list); }
  void ShowView() override;
  // No object shown: header, registry tree and memo empty, the page hidden.
  void ClearPane() override;
  void SetHeaderIcon(HICON icon);
  // The object commands' controls (main_window_actions.cpp).
  Focus FocusedRecord() const override;
  BusyDisplay& StatusDisplay() override { return statusDisplay_; }
  Text ChooseSaveFile(TextView suggested) override;
  Text ChooseTypeLibFile() override;
  std::optional<size_t> ChooseTypeLibResource(const TextList& items) override;
  Text HeaderName() const override;
  Text HeaderGuid() const override;
  std::vector<SummaryLine> RegistryLines() const override;
  void PutOnClipboard(const Text& text) override;
  void ShowTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader) override;
  // The control that gets the focus when the window is activated: the one
  // that had it, else the object tree.
  HWND FocusTarget() const;
  // The registration check's controls and the Security page
  // (main_window_check.cpp).
  std::optional<size_t> ShowCheckResult(const std::vector<CheckRow>& rows, const Text& count) override;
  void SelectFindingObject(TObjectType typ, size_t index) override;
  // Find and the References page (main_window_find.cpp).
  const TObjectNode* FocusedObjectNode() const override;
  void ShowFindWindow() override;
  void SearchFindWindowAgain() override;
  void ExpandRoot(TObjectType typ) override;
  bool SelectObjectNode(TObjectType typ, uint32_t index) override;
  bool ReferencesPageShown() const override;
  void ShowReferenceRows(const std::vector<ReferenceRow>& rows, const TextList& notes) override;
  std::unique_ptr<typelib::TypeLibLoader> LibraryLoader() override { return CreateLoader(); }
  std::unique_ptr<LibraryProgress> OpenLibraryProgress() override;
  void ListsReadAnew() override { CatalogueReadAnew(); }
  // The References tab, second, unless it is there.
  void AddReferencesPage();
  void ReferenceActivated(int row);
  LRESULT OnReferencesNotify(NMHDR* header);
  void ShowSecurityPage(const TObjectData& snapshot);
  void RemovePage(PanePage page);
  void ReadWindowSettings();
  void WriteWindowSettings();
  ScreenInfo Screens() const;
  Placement CurrentPlacement() const;

  Options options_;
  Win32BusyDisplay statusDisplay_{[this](TextView text) { SetStatusText(text); }, [this] { RepaintNow(); }};
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HWND focused_ = nullptr;  // the control focused when the window was last deactivated
  HFONT font_ = nullptr, boldFont_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HICON headerIcon_ = nullptr;
  bool hex_ = true;
  UINT dpi_ = 96;
  int treeWidth_ = 0;  // in the pixels of dpi_
  // In the pixels of dpi_, for the captions in the window's font: the
  // buttons of the two widths and the status bar's first panel.
  int wideButton_ = 0, narrowButton_ = 0, statusPanel_ = 0;
  bool paneVisible_ = false;
  std::vector<int> statusWidths_;
  // The registry tree's lines; each item's lParam is its index here, so the
  // memo and the summary get a line's whole text.
  std::vector<RegLine> regLines_;
  // While comparing: the colours of the registry tree's lines (none for a
  // line both registries have), by the same index.
  std::vector<std::optional<Colour>> regLineColours_;
  std::array<std::vector<LoadedNode>, 4> loaded_;
  TypeAheadSearch typeAhead_;
  bool settingsRead_ = false;
  bool settingsWritten_ = false;
  std::unique_ptr<FindObjectsWindow> findWindow_;
  std::vector<ReferenceRow> refRows_;
  // The texts of the References rows as the list asks for them.
  std::vector<std::wstring> refTexts_;
};

// Registers the window class once (the program and the tests).
void RegisterMainWindowClass();

}  // namespace brannock::ui
