// Find and References in the main window, the same in both front ends: the
// Find window (View > "Find...", Ctrl+F), the detail pane's "References"
// page, going to an object either of them names, and forgetting what was
// built when the catalogue is read anew. TfrmMain of each front end derives
// from TFindCommands beside TObjectCommands and supplies its controls (the
// pure virtual functions; StatusDisplay is the same window's busy state).
#pragma once

#include <memory>
#include <vector>

#include "analysis/catalogue_analysis.h"
#include "typelib/access.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/object_tree.h"
#include "ui/logic/references_tab.h"

namespace brannock::ui {

class TFindCommands {
 public:
  virtual ~TFindCommands() = default;
  TFindCommands(const TFindCommands&) = delete;
  TFindCommands& operator=(const TFindCommands&) = delete;

  // View > "Find...": the Find window shown, its text ready to type into.
  void cmFind();
  // The catalogue's index and finder, built when first asked for (the
  // index in the window's busy state: it reads every object's keys).
  const analysis::RegistrationIndex& Index();
  const analysis::ObjectFinder& Finder();
  // Selects the object of that kind and list position in the object tree,
  // its root read first when it has no children yet, and so shows its pane.
  void GoToObject(TObjectType typ, uint32_t index);
  // The "References" page of the focused object, when that page is the one
  // shown (after each selection): the registered libraries read first, once,
  // with their progress, when the object's kind needs them. Stopped by the
  // user, they are not asked for again until the page is chosen anew.
  void ShowReferences();
  // The pane's page chosen by the user.
  void PageChange();
  // The catalogue was read anew (Refresh, another view): the index, the
  // libraries read and the lines shown go; the Find window searches again.
  void CatalogueReadAnew();

 protected:
  explicit TFindCommands(Catalogue& catalogue) : analysis_(catalogue) {}

  // The controls.
  virtual BusyDisplay& StatusDisplay() = 0;
  // The focused node's record when it is an object; null for none or a root.
  virtual const TObjectNode* FocusedObjectNode() const = 0;
  virtual void ShowFindWindow() = 0;
  // The Find window's list searched again, when it is shown.
  virtual void SearchFindWindowAgain() = 0;
  // The root of that kind expanded: read and filled (TreeExpanding, busy)
  // when it has no children.
  virtual void ExpandRoot(TObjectType typ) = 0;
  // The node of that list position selected, focused and scrolled into
  // view (which shows its pane); false when the root has none.
  virtual bool SelectObjectNode(TObjectType typ, uint32_t index) = 0;
  virtual bool ReferencesPageShown() const = 0;
  virtual void ShowReferenceRows(const std::vector<ReferenceRow>& rows, const TextList& notes) = 0;
  // The loader the viewer uses, and the window that shows the libraries'
  // progress with a way to stop (for the time of one reading).
  virtual std::unique_ptr<typelib::TypeLibLoader> LibraryLoader() = 0;
  virtual std::unique_ptr<LibraryProgress> OpenLibraryProgress() = 0;

  analysis::CatalogueAnalysis analysis_;
  bool librariesDeclined_ = false;
};

}  // namespace brannock::ui
