// Find and the References page of TfrmMain on Win32: the controls that
// TFindCommands needs (ui/logic/find_commands.h): the Find window, going to
// an object in the tree, the References list and its notes, the progress
// of reading the libraries.
#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/win32/find_window.h"
#include "ui/win32/library_progress_window.h"
#include "ui/win32/main_window.h"
#include "ui/win32/tree_selection.h"

namespace brannock::ui {

const TObjectNode* TfrmMain::FocusedObjectNode() const {
  HTREEITEM item = FocusedNode();
  if (!item || IsRoot(item)) return nullptr;
  return NodeOf(item);
}

void TfrmMain::ShowFindWindow() {
  if (!findWindow_) {
    FindObjectsWindow::Hooks hooks;
    hooks.search = [this](TextView text, Text* count) -> std::vector<FindRow> {
      // Nothing typed asks for no index.
      if (TrimControls(text).empty()) {
        count->clear();
        return {};
      }
      const analysis::FindResult result = Finder().Find(text);
      *count = FindCountText(text, result);
      return FindRows(Index(), result);
    };
    hooks.go = [this](const FindRow& row) {
      // The object is one of the registry shown, not of a comparison.
      if (Comparing()) cmEndComparison();
      GoToObject(row.typ, row.index);
    };
    findWindow_ = std::make_unique<FindObjectsWindow>(window_, images_, std::move(hooks));
  }
  findWindow_->Show();
}

void TfrmMain::SearchFindWindowAgain() {
  if (findWindow_) findWindow_->SearchAgain();
}

void TfrmMain::ExpandRoot(TObjectType typ) {
  if (HTREEITEM root = RootOf(typ)) TreeView_Expand(Tree, root, TVE_EXPAND);  // read first (TVN_ITEMEXPANDING)
}

bool TfrmMain::SelectObjectNode(TObjectType typ, uint32_t index) {
  for (const LoadedNode& node : LoadedChildren(typ)) {
    if (node.record->Index < 0 || static_cast<uint32_t>(node.record->Index) != index) continue;
    SelectAndShow(Tree, node.item);
    return true;
  }
  return false;
}

bool TfrmMain::ReferencesPageShown() const { return paneVisible_ && ShownPage() == pageReferences; }

void TfrmMain::AddReferencesPage() {
  for (int i = 0, n = TabCtrl_GetItemCount(pc); i < n; ++i) {
    TCITEMW tab{};
    tab.mask = TCIF_PARAM;
    if (TabCtrl_GetItem(pc, i, &tab) && tab.lParam == pageReferences) return;
  }
  std::wstring caption = platform::ToWide(kReferencesTab);
  TCITEMW tab{};
  tab.mask = TCIF_TEXT | TCIF_PARAM;
  tab.pszText = caption.data();
  tab.lParam = pageReferences;
  TabCtrl_InsertItem(pc, 1, &tab);
}

void TfrmMain::ShowReferenceRows(const std::vector<ReferenceRow>& rows, const TextList& notes) {
  refRows_ = rows;
  refTexts_.clear();
  for (const ReferenceRow& row : refRows_)
    for (const Text* text : {&row.relation, &row.name, &row.guid}) refTexts_.push_back(platform::ToWide(*text));
  ListView_SetItemCountEx(RefList, static_cast<int>(refRows_.size()), 0);
  InvalidateRect(RefList, nullptr, TRUE);
  std::wstring text;
  for (const Text& note : notes) {
    if (!text.empty()) text += L"\r\n";
    text += platform::ToWide(note);
  }
  SetWindowTextW(RefNotes, text.c_str());
}

void TfrmMain::ReferenceActivated(int row) {
  if (row < 0 || static_cast<size_t>(row) >= refRows_.size()) return;
  const ReferenceRow target = refRows_[static_cast<size_t>(row)];
  if (!target.typ || !target.index) return;  // missing, or a ProgID
  GoToObject(*target.typ, *target.index);
  SetFocus(Tree);
}

LRESULT TfrmMain::OnReferencesNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= refRows_.size()) return 0;
      const auto row = static_cast<size_t>(item.iItem);
      if ((item.mask & LVIF_TEXT) && item.iSubItem >= 0 && item.iSubItem < 3)
        item.pszText = const_cast<wchar_t*>(refTexts_[row * 3 + static_cast<size_t>(item.iSubItem)].c_str());
      if (item.mask & LVIF_IMAGE) item.iImage = refRows_[row].image;  // -1 for a ProgID: none
      return 0;
    }
    case LVN_ITEMACTIVATE:  // a double click, or Enter
      ReferenceActivated(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
      return 0;
    default:
      return 0;
  }
}

std::unique_ptr<LibraryProgress> TfrmMain::OpenLibraryProgress() { return OpenLibraryProgressWindow(window_); }

}  // namespace brannock::ui
