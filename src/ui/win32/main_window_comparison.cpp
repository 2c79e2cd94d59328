// TfrmMain on Win32 while it compares (TComparisonCommands' controls): the
// open dialog of "Compare with...", the four roots holding what differs,
// each object with the badge of its change, the status bar's counts, and
// the pane of an object with its removed and added lines in their colours.
#include <windows.h>

#include <functional>

#include "platform/win32/wide_text.h"
#include "ui/logic/detail_pane.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/main_window.h"
#include "ui/win32/tree_batch.h"

namespace brannock::ui {

namespace {

Text ChooseSource(HWND owner) { return ChooseFileToOpen(owner, ComparisonSourceFilters(), kCompareWithCaption); }

TfrmMain::FileChooser& Chooser() {
  static TfrmMain::FileChooser chooser;
  return chooser;
}

}  // namespace

void TfrmMain::SetComparisonSourceChooser(FileChooser chooser) { Chooser() = std::move(chooser); }

Text TfrmMain::ChooseComparisonSource() { return Chooser() ? Chooser()(window_, u"") : ChooseSource(window_); }

void TfrmMain::ShowComparison(const Comparison* comparison) {
  ClearPane();
  CreateTree();
  EnableMenuItem(Menu, cmdEndComparison, MF_BYCOMMAND | (comparison ? MF_ENABLED : MF_GRAYED));
  LayOutStatusPanels();
  if (!comparison) return;
  TreeBatchUpdate batch(Tree);
  for (const RootInfo& info : kRoots) {
    FillComparisonKey(RootOf(info.typ), comparison->result);
    if (!LoadedChildren(info.typ).empty()) TreeView_Expand(Tree, RootOf(info.typ), TVE_EXPAND);
  }
}

// The object's lines as the comparison found them: no icon, no object
// command (the object may be gone from the registry shown), Copy to
// Clipboard copies the marked lines.
void TfrmMain::ShowDifference(HTREEITEM item) {
  const analysis::ObjectDifference* difference = DifferenceOf(CurrentComparison()->result, *NodeOf(item));
  if (!difference) return;
  EnableObjectCommands(CommandStates{});
  RemovePage(pageSecurity);  // a difference is no object of the registry shown
  RemovePage(pageReferences);
  SetWindowTextW(eGUID, platform::ToWide(difference->guid).c_str());
  TreeBatchUpdate batch(RegTree);
  FillRegTree(MarkedPaneLines(*difference), true);
  for (const analysis::DiffLine& line : difference->lines) regLineColours_.push_back(LineColour(line.mark));
}

}  // namespace brannock::ui
