// The main window's commands that read the object tree anew, the same in
// both front ends: File > Refresh and the View menu's choice of registry
// view. TfrmMain of each front end derives from TTreeCommands and supplies
// the controls below; the comparison they make again is the window's own
// (comparison_commands.h).
#pragma once

#include "catalogue/catalogue.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/comparison_commands.h"

namespace brannock::ui {

class TTreeCommands {
 public:
  // What the commands read: the registry view the catalogue reads through
  // (none: the View menu does nothing) and the source whose files are read
  // again when they changed (none for the live registry, which is read
  // anew at every access anyway).
  struct Context {
    registry::ViewedRegistry* view = nullptr;
    registry::RegistrySource* source = nullptr;
  };

  virtual ~TTreeCommands() = default;
  TTreeCommands(const TTreeCommands&) = delete;
  TTreeCommands& operator=(const TTreeCommands&) = delete;

  // File > Refresh, with the busy state: nothing read is kept. A file source
  // whose files changed is read again first; while comparing, the lists are
  // emptied (a root reads its list when the comparison ends and it opens)
  // and the comparison is made again; otherwise the four roots are built
  // anew and each filled with its list, read now.
  void Refresh();
  // The View menu's item for `view`: when it is not the view shown, the pane
  // is cleared, the new view shown and the tree read anew (Refresh); the
  // view shown (menu, title, status bar) is set again in any case, also when
  // reading the new view fails half-way.
  void cmChooseView(registry::RegistryView view);

 protected:
  TTreeCommands(Catalogue& catalogue, TComparisonCommands& comparison, Context context)
      : treeCatalogue_(catalogue), treeComparison_(comparison), treeContext_(context) {}

  // The controls.
  // The window's busy state: its cursor, the status bar's first panel, a
  // repaint.
  virtual BusyDisplay& StatusDisplay() = 0;
  // The four roots, empty and closed, in their order.
  virtual void CreateTree() = 0;
  // The root of `typ` with a node for each entry of `list`.
  virtual void FillRoot(TObjectType typ, const TObjects& list) = 0;
  // The detail pane and its header emptied.
  virtual void ClearPane() = 0;
  // The view shown: the View menu's check, the title, the status bar.
  virtual void ShowView() = 0;
  // The lists were read anew (by Refresh, also when it failed half-way):
  // what was built from them before (Find's index, the libraries the
  // References read) goes. Nothing by default.
  virtual void ListsReadAnew() {}

 private:
  void ReadLists();

  Catalogue& treeCatalogue_;
  TComparisonCommands& treeComparison_;
  Context treeContext_;
};

}  // namespace brannock::ui
