// TfrmMain: the main window. The object tree of the four collections on the
// left, the detail pane of the selected node on the right, the menus of the
// commands, and the status bar. The object commands are TObjectCommands'
// (ui/logic/object_commands.h), the comparison's TComparisonCommands'
// (ui/logic/comparison_commands.h), Refresh and the View menu's
// TTreeCommands' (ui/logic/tree_commands.h), Find and the References page
// TFindCommands' (ui/logic/find_commands.h); this class supplies their
// controls.
#pragma once

#include <QMainWindow>
#include <functional>

#include "catalogue/catalogue.h"
#include "registry/viewed_registry.h"
#include "typelib/access.h"
#include "ui/logic/icon_location.h"
#include "ui/logic/object_actions.h"
#include "catalogue/registry_tree_builder.h"
#include "ui/logic/check_window.h"
#include "ui/logic/comparison_commands.h"
#include "ui/logic/find_commands.h"
#include "ui/logic/object_commands.h"
#include "ui/logic/tree_commands.h"
#include "ui/logic/window_settings.h"
#include "ui/qt/busy.h"
#include "ui/qt/object_tree_widget.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace brannock::ui {

class FindWindow;
class SettingsFile;

class TfrmMain : public QMainWindow,
                 public TObjectCommands,
                 public TFindCommands,
                 public TCheckCommands,
                 public TComparisonCommands,
                 public TTreeCommands {
 public:
  struct Options {
    // Where the window keeps its placement; none keeps nothing.
    SettingsFile* settings = nullptr;
    // Maps the registry's Windows file names to host files (header icon).
    HostFileLocator locator;
    // A batch run failed in the creation: no environment and no roots.
    bool batchFailed = false;
    // Where regsvr32 and test instances run (object commands).
    ToolHost tools;
    // The registry shown, for the status bar ("Wine prefix ~/.wine"), and
    // the places passed over on the way to it (its tool tip).
    Text sourceText;
    TextList sourceSkipped;
    // The registry view the catalogue reads through (View menu); none shows
    // no View menu.
    registry::ViewedRegistry* view = nullptr;
    // The source of the catalogue's registry: Refresh and the end of a
    // registration read a file source again when its files changed.
    registry::RegistrySource* source = nullptr;
  };

  TfrmMain(Catalogue& catalogue, Options options, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Chooses the file name of a Save command: given the suggested name,
  // returns the chosen path or an empty text when the user cancels. The
  // default shows the save dialog; tests replace it.
  using SaveFileChooser = std::function<QString(QWidget* owner, const QString& suggested)>;
  static void SetSaveFileChooser(SaveFileChooser chooser);
  // Returns the chosen type library file of "View TypeLib...", or an empty
  // text when the user cancels. The default shows the open dialog.
  using TypeLibFileChooser = std::function<QString(QWidget* owner)>;
  static void SetTypeLibFileChooser(TypeLibFileChooser chooser);
  // Returns the index of the library chosen among the items of a file with
  // several type libraries, or -1 when the user cancels. The default shows
  // a small list.
  using TypeLibResourceChooser = std::function<int(QWidget* owner, const QStringList& items)>;
  static void SetTypeLibResourceChooser(TypeLibResourceChooser chooser);
  // Handles the findings list of "Check Registrations" (given the dialog,
  // not shown yet) and returns the row chosen; none is the default, which
  // shows the dialog modally.
  using CheckResultChooser = std::function<std::optional<size_t>(class CheckDialog& dialog)>;
  static void SetCheckResultChooser(CheckResultChooser chooser);
  // Returns the file chosen in the open dialog of "Compare with...", or an
  // empty text when the user cancels. The default shows the open dialog.
  using ComparisonSourceChooser = std::function<QString(QWidget* owner)>;
  static void SetComparisonSourceChooser(ComparisonSourceChooser chooser);

  // Controls.
  ObjectTree* Tree = nullptr;
  QSplitter* Splitter = nullptr;
  QLabel* imgDefaultIcon = nullptr;
  QLineEdit* eName = nullptr;
  QLineEdit* eGUID = nullptr;
  QTabWidget* pc = nullptr;
  QWidget* tsRegistry = nullptr;
  QWidget* tsSecurity = nullptr;  // " Security ", for AppIDs and classes with one
  QPlainTextEdit* SecurityText = nullptr;
  QWidget* tsReferences = nullptr;  // " References ", beside " Registry "; none while comparing
  QTreeWidget* RefList = nullptr;
  QPlainTextEdit* RefNotes = nullptr;
  FindWindow* frmFind = nullptr;  // created when first shown
  QTreeWidget* RegTree = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QPushButton *bView = nullptr, *bCopy = nullptr, *bReg = nullptr, *bUnreg = nullptr;
  QLabel* sb = nullptr;
  QLabel* sbSource = nullptr;  // second panel: the registry shown
  QLabel* sbView = nullptr;    // third panel: the registry view shown
  QLabel* sbCompare = nullptr;  // while comparing: with what, and the counts
  QAction *mmView64 = nullptr, *mmView32 = nullptr;  // View menu, radio items
  QAction *mmViewTypeLib = nullptr, *mmHex = nullptr, *mmSaveAppId = nullptr, *mmSaceIntf = nullptr,
          *mmSaveObjCls = nullptr, *mmSaveTLB = nullptr, *mmRefresh = nullptr, *mmExit = nullptr;
  QAction *mmCompareWith = nullptr, *mmEndComparison = nullptr;
  QAction *mmView = nullptr, *mmCreateInst = nullptr, *mmReg = nullptr, *mmUnreg = nullptr, *mmAbout = nullptr;
  QAction* mmCheck = nullptr;  // Object > "Check Registrations"
  QAction* mmFind = nullptr;   // View > "Find..."
  QTreeWidgetItem *OCRoot = nullptr, *AIRoot = nullptr, *TLRoot = nullptr, *IFRoot = nullptr;

  // Object tree.
  void FillKey(QTreeWidgetItem* root, const TObjects& list);
  void SetTree();
  void TreeExpanding(QTreeWidgetItem* node);

  // Detail pane.
  void TreeChange(QTreeWidgetItem* node);
  void RegTreeChange(QTreeWidgetItem* line);
  void mmHexClick();

  // Commands (the object commands are TObjectCommands', Refresh and the
  // View menu's TTreeCommands').
  void cmRefresh() { Refresh(); }
  void cmExit() { close(); }
  void cmAbout();

  void setVisible(bool visible) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildViewMenu();
  QWidget* BuildDetailPane();
  void ShowDetails(ObjectNodeItem* node);
  // The comparison's controls and pane (main_window_comparison.cpp).
  Text ChooseComparisonSource() override;
  void ShowComparison(const Comparison* comparison) override;
  void ShowDifference(ObjectNodeItem* node);
  void EnableObjectCommands(const CommandStates& states);
  void FillRegTree(const std::vector<RegLine>& lines, bool expand);
  QTreeWidgetItem* RootOf(TObjectType typ) const;
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
  void Refresh() override { TTreeCommands::Refresh(); }
  // Refresh's and the View menu's controls (main_window_tree.cpp,
  // main_window.cpp, main_window_detail.cpp).
  void CreateTree() override;
  void FillRoot(TObjectType typ, const TObjects& list) override { FillKey(RootOf(typ), list); }
  void ListsReadAnew() override { CatalogueReadAnew(); }
  // Empties the header, the registry lines and the memo, and hides the page.
  void ClearPane() override;
  void ShowView() override;
  // The registration check's controls and the Security page
  // (main_window_check.cpp).
  std::optional<size_t> ShowCheckResult(const std::vector<CheckRow>& rows, const Text& count) override;
  void SelectFindingObject(TObjectType typ, size_t index) override;
  QWidget* BuildSecurityPage();
  void ShowSecurityPage(const TObjectData& snapshot);
  // Removes the Security page (an object without one, a difference).
  void HideSecurityPage();
  // Find's and the References page's controls (main_window_find.cpp).
  const TObjectNode* FocusedObjectNode() const override;
  void ShowFindWindow() override;
  void SearchFindWindowAgain() override;
  void ExpandRoot(TObjectType typ) override;
  bool SelectObjectNode(TObjectType typ, uint32_t index) override;
  bool ReferencesPageShown() const override;
  void ShowReferenceRows(const std::vector<ReferenceRow>& rows, const TextList& notes) override;
  std::unique_ptr<typelib::TypeLibLoader> LibraryLoader() override { return CreateLoader(); }
  std::unique_ptr<LibraryProgress> OpenLibraryProgress() override;
  QWidget* BuildReferencesPage();
  // The References page beside the Registry page, or none (a comparison's
  // differences have none).
  void ShowReferencesPage(bool shown);
  void RefListDblClick(QTreeWidgetItem* item);
  void ReadWindowSettings();
  void WriteWindowSettings();
  ScreenInfo Screens() const;
  Placement CurrentPlacement() const;

  Options options_;
  QtBusyDisplay statusDisplay_{nullptr, nullptr};
  bool settingsRead_ = false;
  bool settingsWritten_ = false;
  bool minimizeAfterShow_ = false;
};

}  // namespace brannock::ui
