// The main window's registration check and the pages of the detail pane on
// Win32: the controls TCheckCommands needs (the findings list, the object
// selected in the tree) and the tab control's pages (the logic is in
// ui/logic/check_window.h and security_page.h).
#include "ui/win32/check_list_window.h"
#include "ui/win32/main_window.h"

namespace brannock::ui {

std::optional<size_t> TfrmMain::ShowCheckResult(const std::vector<CheckRow>& rows, const Text& count) {
  return ShowCheckList(window_, rows, count);
}

void TfrmMain::SelectFindingObject(TObjectType typ, size_t index) {
  // The object is one of the registry shown: the comparison's nodes are not
  // its nodes.
  if (Comparing()) cmEndComparison();
  HTREEITEM root = RootOf(typ);
  if (!root) return;
  TreeView_Expand(Tree, root, TVE_EXPAND);  // read and filled first (TVN_ITEMEXPANDING)
  if (SelectObjectNode(typ, static_cast<uint32_t>(index))) SetFocus(Tree);
}

PanePage TfrmMain::ShownPage() const {
  TCITEMW tab{};
  tab.mask = TCIF_PARAM;
  const int selected = TabCtrl_GetCurSel(pc);
  if (selected < 0 || !TabCtrl_GetItem(pc, selected, &tab)) return pageRegistry;
  return static_cast<PanePage>(tab.lParam);
}

void TfrmMain::PageChange() {
  ShowPane(paneVisible_);
  TFindCommands::PageChange();
}

// The tab of `page` taken away; when it was the one shown, the Registry
// page is shown instead.
void TfrmMain::RemovePage(PanePage page) {
  for (int i = TabCtrl_GetItemCount(pc) - 1; i >= 0; --i) {
    TCITEMW tab{};
    tab.mask = TCIF_PARAM;
    if (!TabCtrl_GetItem(pc, i, &tab) || tab.lParam != page) continue;
    const bool shown = TabCtrl_GetCurSel(pc) == i;
    TabCtrl_DeleteItem(pc, i);
    if (shown || TabCtrl_GetCurSel(pc) < 0) {
      TabCtrl_SetCurSel(pc, 0);
      ShowPane(paneVisible_);
    }
  }
}

}  // namespace brannock::ui
