// The detail pane of TfrmMain on Win32: the header, the registry tree with
// its bold top-level lines, the memo and the enabling of the commands, all
// from ui/logic; and the notifications of both trees.
#include "platform/win32/wide_text.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/security_page.h"
#include "ui/win32/header_icon.h"
#include "ui/win32/main_window.h"
#include "ui/win32/tree_batch.h"

namespace brannock::ui {

namespace {

// Gives a control its text unless it has it already: under Wine an edit
// control with a scroll bar (the memo) takes 10-20 ms for each new text,
// also for an empty text replacing an empty one, as at every selection.
void SetText(HWND control, const std::wstring& text) {
  const int length = GetWindowTextLengthW(control);
  if (length == static_cast<int>(text.size())) {
    std::wstring current(text.size() + 1, L'\0');
    GetWindowTextW(control, current.data(), length + 1);
    current.resize(text.size());
    if (current == text) return;
  }
  SetWindowTextW(control, text.c_str());
}

void SetText(HWND control, TextView text) { SetText(control, platform::ToWide(text)); }

void EnableMenuCommand(HMENU menu, UINT id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void TfrmMain::TreeChange(HTREEITEM node) {
  SetText(Memo, u"");
  if (!node) return;
  const TObjectNode* record = NodeOf(node);
  if (!record) return;
  SetText(eName, record->Text);
  SetHeaderIcon(nullptr);
  const bool root = IsRoot(node);
  ShowPane(!root);
  if (root) {
    SetText(eGUID, RootPaneText(static_cast<int>(LoadedChildren(record->Typ).size())));
    return;
  }
  if (Comparing()) return ShowDifference(node);
  ShowDetails(node);
  AddReferencesPage();
  ShowReferences();
}

void TfrmMain::ShowDetails(HTREEITEM item) {
  TObjectNode& n = *NodeOf(item);
  TObjects& list = catalogue_.List(n.Typ);
  // A node whose list entry is gone (the list was read anew without
  // rebuilding the tree) has nothing to show.
  if (n.Index < 0 || static_cast<size_t>(n.Index) >= list.size()) return;
  TObjectData& entry = list[static_cast<size_t>(n.Index)];
  catalogue_.Resolve(entry);
  const TObjectData snapshot = entry;
  n.Server = snapshot.Server;

  EnableObjectCommands(CommandStatesFor(snapshot, true));  // the live registry runs regsvr32
  SetText(eGUID, snapshot.GUID);

  SetHeaderIcon(HeaderIcon(snapshot, options_.view && registry::SeesWow64Files(*options_.view, options_.view->View())));
  ShowSecurityPage(snapshot);

  TreeBatchUpdate batch(RegTree);
  RegistryTreeBuilder builder(catalogue_.Backend(), hex_);
  try {
    builder.FillObjectTree(snapshot);
  } catch (...) {
    FillRegTree(builder.Lines(), false);
    throw;
  }
  FillRegTree(builder.Lines(), true);
}

void TfrmMain::ClearPane() {
  SetText(eName, u"");
  SetText(eGUID, u"");
  SetText(Memo, u"");
  SetHeaderIcon(nullptr);
  TreeView_DeleteAllItems(RegTree);
  regLines_.clear();
  regLineColours_.clear();
  RemovePage(pageSecurity);
  RemovePage(pageReferences);
  ShowPane(false);
}

void TfrmMain::EnableObjectCommands(const CommandStates& states) {
  EnableWindow(bReg, states.registerServer);
  EnableWindow(bUnreg, states.registerServer);
  EnableMenuCommand(Menu, cmdReg, states.registerServer);
  EnableMenuCommand(Menu, cmdUnreg, states.registerServer);
  EnableMenuCommand(Menu, cmdCreateInst, states.createInstance);
  EnableMenuCommand(Menu, cmdView, states.viewTypeLib);
  EnableWindow(bView, states.viewTypeLib);
  EnableWindow(bCopy, TRUE);
}

// The Security page: a tab after the others for an AppID and a class that
// names one, none for other objects.
void TfrmMain::ShowSecurityPage(const TObjectData& snapshot) {
  registry::RegistryBackend& store = options_.view ? options_.view->Store() : catalogue_.Backend();
  const SecurityPage page = SecurityPageOf(snapshot, catalogue_.Backend(), store);
  if (!page.shown) {
    RemovePage(pageSecurity);
    return;
  }
  bool present = false;
  for (int i = 0, n = TabCtrl_GetItemCount(pc); i < n && !present; ++i) {
    TCITEMW tab{};
    tab.mask = TCIF_PARAM;
    present = TabCtrl_GetItem(pc, i, &tab) && tab.lParam == pageSecurity;
  }
  if (!present) {
    std::wstring caption = platform::ToWide(kSecurityTabCaption);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT | TCIF_PARAM;
    tab.pszText = caption.data();
    tab.lParam = pageSecurity;
    TabCtrl_InsertItem(pc, TabCtrl_GetItemCount(pc), &tab);
  }
  SetText(SecurityText, page.text);
}

void TfrmMain::FillRegTree(const std::vector<RegLine>& lines, bool expand) {
  TreeView_DeleteAllItems(RegTree);
  regLines_ = lines;
  regLineColours_.clear();
  std::vector<HTREEITEM> items;
  items.reserve(regLines_.size());
  for (size_t i = 0; i < regLines_.size(); ++i) {
    const RegLine& line = regLines_[i];
    std::wstring text = platform::ToWide(line.text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = line.parent < 0 ? TVI_ROOT : items[static_cast<size_t>(line.parent)];
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(i);
    // Level-0 lines bold through their state, so the control measures them
    // bold too and does not clip their ends.
    insert.item.stateMask = TVIS_BOLD;
    insert.item.state = line.parent < 0 ? TVIS_BOLD : 0;
    items.push_back(TreeView_InsertItem(RegTree, &insert));
  }
  if (!expand) return;
  for (HTREEITEM item : items)
    if (TreeView_GetChild(RegTree, item)) TreeView_Expand(RegTree, item, TVE_EXPAND);
}

void TfrmMain::RegTreeChange(HTREEITEM line) {
  SetText(Memo, u"");
  if (!line) return;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = line;
  if (!TreeView_GetItem(RegTree, &tv) || tv.lParam < 0 || static_cast<size_t>(tv.lParam) >= regLines_.size()) return;
  // The memo wants CR LF line ends; a value's own line feeds become them.
  std::wstring text;
  for (char16_t c : regLines_[static_cast<size_t>(tv.lParam)].text) {
    if (c == u'\n') text += L'\r';
    text += static_cast<wchar_t>(c);
  }
  SetText(Memo, text);
}

void TfrmMain::mmHexClick() {
  hex_ = !hex_;
  CheckMenuItem(Menu, cmdHex, MF_BYCOMMAND | (hex_ ? MF_CHECKED : MF_UNCHECKED));
  TreeChange(FocusedNode());
}

void TfrmMain::SetHeaderIcon(HICON icon) {
  SendMessageW(imgDefaultIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  if (headerIcon_) DestroyIcon(headerIcon_);
  headerIcon_ = icon;
}

// ---------------------------------------------------------------- notifications

LRESULT TfrmMain::OnNotify(NMHDR* header) {
  if (header->hwndFrom == Tree) {
    switch (header->code) {
      case TVN_ITEMEXPANDINGW: {
        auto* view = reinterpret_cast<NMTREEVIEWW*>(header);
        if (view->action & TVE_EXPAND) TreeExpanding(view->itemNew.hItem);
        return FALSE;  // the expansion is always allowed
      }
      case TVN_ITEMEXPANDEDW:
        SetTree();
        return 0;
      case TVN_SELCHANGEDW:
        TreeChange(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem);
        return 0;
      case TVN_DELETEITEMW:
        delete reinterpret_cast<TObjectNode*>(reinterpret_cast<NMTREEVIEWW*>(header)->itemOld.lParam);
        return 0;
      case NM_DBLCLK:
        cmViewTLB();
        return 0;
      default:
        return 0;
    }
  }
  if (header->hwndFrom == RefList) return OnReferencesNotify(header);
  if (header->hwndFrom == pc && header->code == TCN_SELCHANGE) {
    PageChange();
    return 0;
  }
  if (header->hwndFrom == RegTree) {
    switch (header->code) {
      case TVN_SELCHANGEDW:
        RegTreeChange(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem);
        return 0;
      case NM_CUSTOMDRAW: {  // RegTreePaintText; level-0 lines are bold by their state
        auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
        // While comparing: the removed and added lines in their colours.
        const auto line = static_cast<size_t>(draw->nmcd.lItemlParam);
        if (line < regLineColours_.size() && regLineColours_[line]) {
          const Colour c = *regLineColours_[line];
          draw->clrText = RGB(c.red, c.green, c.blue);
          return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
      }
      default:
        return 0;
    }
  }
  return 0;
}

}  // namespace brannock::ui
