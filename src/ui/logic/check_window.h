// Object > "Check Registrations" in both front ends, without a widget: the
// texts of the findings list, its rows (severity image, object, reason) and
// its count line, and the command's sequence: the check with the busy
// state, the list, and the object of the row double-clicked selected in the
// tree. TfrmMain of each front end derives from TCheckCommands and supplies
// the controls below.
#pragma once

#include <optional>
#include <vector>

#include "analysis/finding.h"
#include "catalogue/catalogue.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"
#include "ui/logic/busy_scope.h"

namespace brannock::ui {

inline constexpr char16_t kCheckMenuItem[] = u"Check Registrations";
inline constexpr char16_t kCheckCaption[] = u"Registration Check";
// The list's columns; the first shows the severity's image beside the object.
inline constexpr const char16_t* kCheckColumns[] = {u"Object", u"Reason"};
inline constexpr int kCheckWindowWidth = 760, kCheckWindowHeight = 420;

struct CheckRow {
  analysis::Severity severity = analysis::Severity::Note;
  Text object;   // "class Brannock Test {B4A22001-...}", "ProgID Loop.A"
  Text reason;
  Text keyPath;  // the row's tool tip
  // The object of the tree that the row's double click selects.
  std::optional<TObjectType> typ;
  Text guid;
};

std::vector<CheckRow> CheckRows(const analysis::Findings& findings);

// Below the list: "No findings.", or "2 errors, 1 warning, 3 notes" (the
// kinds there are). Double-click a row to select its object.
Text CheckCountText(const analysis::Findings& findings);

class TCheckCommands {
 public:
  virtual ~TCheckCommands() = default;
  TCheckCommands(const TCheckCommands&) = delete;
  TCheckCommands& operator=(const TCheckCommands&) = delete;

  // Object > "Check Registrations": checks the registry shown (in the view
  // shown) with the busy state, shows the findings, and selects the object
  // of the row the user double-clicked, its root read first.
  void cmCheckRegistrations();

 protected:
  // `source` is the registry shown (none: the live registry), `view` its
  // view (none: the store's own).
  TCheckCommands(Catalogue& catalogue, registry::RegistrySource* source, registry::ViewedRegistry* view)
      : checkCatalogue_(catalogue), checkSource_(source), checkView_(view) {}

  // The controls.
  virtual BusyDisplay& StatusDisplay() = 0;
  // The findings list, modal; the row double-clicked (which closes it),
  // none when it was closed otherwise.
  virtual std::optional<size_t> ShowCheckResult(const std::vector<CheckRow>& rows, const Text& count) = 0;
  // Selects the node of the object at `index` of its kind's list, its root
  // read and expanded first, and shows its pane. A window that compares
  // (comparison_commands.h) ends the comparison first: the object is one of
  // the registry shown, not a difference.
  virtual void SelectFindingObject(TObjectType typ, size_t index) = 0;

 private:
  Catalogue& checkCatalogue_;
  registry::RegistrySource* checkSource_;
  registry::ViewedRegistry* checkView_;
};

}  // namespace brannock::ui
