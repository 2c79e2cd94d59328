// The main window's comparison commands, the same in both front ends: File >
// "Compare with..." and "End Comparison", and the comparison made again when
// the registry shown is read anew (Refresh, a change of view). TfrmMain of
// each front end derives from TComparisonCommands and supplies the controls
// below; what it shows comes from comparison_view.h.
#pragma once

#include <filesystem>
#include <optional>

#include "registry/viewed_registry.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/comparison_view.h"

namespace brannock::ui {

class TComparisonCommands {
 public:
  virtual ~TComparisonCommands() = default;
  TComparisonCommands(const TComparisonCommands&) = delete;
  TComparisonCommands& operator=(const TComparisonCommands&) = delete;

  // "Compare with...": the earlier source chosen in the open dialog (a Wine
  // prefix by its system.reg), compared with the registry shown in the view
  // shown, with the busy state; then the window shows the comparison. A
  // source that cannot be read raises once "Ready" is back; the window keeps
  // what it showed.
  void cmCompareWith();
  // "End Comparison": the plain tree again.
  void cmEndComparison();
  // While comparing, compares the same earlier source again with the
  // registry as it reads now; nothing otherwise. Refresh and the View menu
  // call it after they have read the registry shown anew.
  void CompareAgain();

  bool Comparing() const { return comparison_.has_value(); }
  const Comparison* CurrentComparison() const { return comparison_ ? &*comparison_ : nullptr; }

 protected:
  // The registry shown: its store, and the view it is shown in (none: the
  // store's own view).
  TComparisonCommands(registry::RegistryBackend& store, const registry::ViewedRegistry* view)
      : store_(store), view_(view) {}

  // The controls.
  // The window's busy state: its cursor, the status bar's first panel, a
  // repaint.
  virtual BusyDisplay& StatusDisplay() = 0;
  // The open dialog with ComparisonSourceFilters(); empty when the user
  // cancels.
  virtual Text ChooseComparisonSource() = 0;
  // The four roots with the comparison's nodes, its status text, its pane
  // for the selected node and "End Comparison" enabled; or, given none, the
  // plain tree (four empty roots), the status bar without the comparison
  // and "End Comparison" disabled.
  virtual void ShowComparison(const Comparison* comparison) = 0;

 private:
  void Compare(const std::filesystem::path& before);

  registry::RegistryBackend& store_;
  const registry::ViewedRegistry* view_;
  std::optional<Comparison> comparison_;
};

}  // namespace brannock::ui
