// TfrmMain: the main window. The object tree of the four collections on the
// left, the detail pane of the selected node on the right, the menus of the
// commands, and the status bar.
#pragma once

#include <QMainWindow>
#include <functional>

#include "catalogue/catalogue.h"
#include "registry/viewed_registry.h"
#include "typelib/access.h"
#include "ui/logic/icon_location.h"
#include "ui/logic/object_actions.h"
#include "ui/logic/registry_tree_builder.h"
#include "ui/logic/window_settings.h"
#include "ui/qt/object_tree_widget.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace brannock::ui {

class SettingsFile;

class TfrmMain : public QMainWindow {
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

  // Controls.
  ObjectTree* Tree = nullptr;
  QSplitter* Splitter = nullptr;
  QLabel* imgDefaultIcon = nullptr;
  QLineEdit* eName = nullptr;
  QLineEdit* eGUID = nullptr;
  QTabWidget* pc = nullptr;
  QWidget* tsRegistry = nullptr;
  QTreeWidget* RegTree = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QPushButton *bView = nullptr, *bCopy = nullptr, *bReg = nullptr, *bUnreg = nullptr;
  QLabel* sb = nullptr;
  QLabel* sbSource = nullptr;  // second panel: the registry shown
  QLabel* sbView = nullptr;    // third panel: the registry view shown
  QAction *mmView64 = nullptr, *mmView32 = nullptr;  // View menu, radio items
  QAction *mmViewTypeLib = nullptr, *mmHex = nullptr, *mmSaveAppId = nullptr, *mmSaceIntf = nullptr,
          *mmSaveObjCls = nullptr, *mmSaveTLB = nullptr, *mmRefresh = nullptr, *mmExit = nullptr;
  QAction *mmView = nullptr, *mmCreateInst = nullptr, *mmReg = nullptr, *mmUnreg = nullptr, *mmAbout = nullptr;
  QTreeWidgetItem *OCRoot = nullptr, *AIRoot = nullptr, *TLRoot = nullptr, *IFRoot = nullptr;

  // Object tree.
  void CreateTree();
  void FillKey(QTreeWidgetItem* root, const TObjects& list);
  void SetTree();
  void Refresh();
  void TreeExpanding(QTreeWidgetItem* node);

  // Detail pane.
  void TreeChange(QTreeWidgetItem* node);
  void RegTreeChange(QTreeWidgetItem* line);
  void mmHexClick();

  // Commands.
  void cmSave(int tag);
  void cmRefresh() { Refresh(); }
  // The View menu: shows the other view's registrations, read anew as
  // Refresh reads them.
  void cmChooseView(registry::RegistryView view);
  void cmExit() { close(); }
  void bCopyClick();
  void bRegClick(int tag);
  void cmCreateInst();
  void cmViewTLB();
  void cmViewTypeLib();
  void cmAbout();

  void setVisible(bool visible) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildViewMenu();
  void ShowView();
  QWidget* BuildDetailPane();
  void ShowDetails(ObjectNodeItem* node);
  void FillRegTree(const std::vector<RegLine>& lines, bool expand);
  QTreeWidgetItem* RootOf(TObjectType typ) const;
  // The object commands (main_window_actions.cpp): a copy of the focused
  // object's list entry, none on a root; the viewer for a record.
  std::optional<TObjectData> FocusedObject() const;
  void ViewObjectTypeLib(const TObjectData& record);
  std::unique_ptr<typelib::TypeLibLoader> CreateLoader();
  void ReadWindowSettings();
  void WriteWindowSettings();
  ScreenInfo Screens() const;
  Placement CurrentPlacement() const;

  Catalogue& catalogue_;
  Options options_;
  bool settingsRead_ = false;
  bool settingsWritten_ = false;
  bool minimizeAfterShow_ = false;
};

}  // namespace brannock::ui
