// The controls of TfrmMain's object commands (TObjectCommands) on Win32:
// the focused node, the common file dialogs and the choice among several
// libraries, the summary's texts, the clipboard and the viewer.
#include <windows.h>

#include "platform/win32/wide_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/typelib_choice.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/choice_dialog.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/main_window.h"
#include "ui/win32/tlb_viewer.h"

namespace brannock::ui {

namespace {

Text ChooseFile(HWND owner, TextView suggested, bool save) {
  if (save)
    return ChooseFileToSave(owner, suggested, {{kSaveListFilterName, {u"*.csv"}}, {kSaveAllFilesFilterName, {u"*.*"}}},
                            kListFileExtension);
  return ChooseFileToOpen(owner, {{kTypeLibFilterName, {kTypeLibFilterPatterns}}, {kOpenAllFilesFilterName, {u"*.*"}}});
}

struct Choosers {
  TfrmMain::FileChooser save;
  TfrmMain::FileChooser open;
  TfrmMain::ResourceChooser resource;
};

Choosers& Dialogs() {
  static Choosers choosers;
  return choosers;
}

Text ItemText(HWND tree, HTREEITEM item, const std::vector<RegLine>& lines) {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!TreeView_GetItem(tree, &tv) || tv.lParam < 0 || static_cast<size_t>(tv.lParam) >= lines.size()) return {};
  return lines[static_cast<size_t>(tv.lParam)].text;
}

Text ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  return platform::FromWide(text.data(), static_cast<size_t>(got));
}

void PutTextOnClipboard(HWND owner, const Text& text) {
  if (!OpenClipboard(owner)) throw std::runtime_error("Cannot open clipboard");
  struct Close {
    ~Close() { CloseClipboard(); }
  } close;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) throw std::bad_alloc();
  auto* data = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(text.begin(), text.end(), data);
  data[text.size()] = L'\0';
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
}

}  // namespace

void TfrmMain::SetSaveFileChooser(FileChooser chooser) { Dialogs().save = std::move(chooser); }
void TfrmMain::SetTypeLibFileChooser(FileChooser chooser) { Dialogs().open = std::move(chooser); }
void TfrmMain::SetTypeLibResourceChooser(ResourceChooser chooser) { Dialogs().resource = std::move(chooser); }

TObjectCommands::Focus TfrmMain::FocusedRecord() const {
  // While comparing, an object node stands for a difference, not for an
  // entry of the catalogue: the object commands see none.
  if (Comparing() && FocusedNode() && !IsRoot(FocusedNode())) return {};
  HTREEITEM item = FocusedNode();
  if (!item) return {};
  return {NodeOf(item), IsRoot(item)};
}

Text TfrmMain::ChooseSaveFile(TextView suggested) {
  const FileChooser& chooser = Dialogs().save;
  return chooser ? chooser(window_, suggested) : ChooseFile(window_, suggested, true);
}

Text TfrmMain::ChooseTypeLibFile() {
  const FileChooser& chooser = Dialogs().open;
  return chooser ? chooser(window_, {}) : ChooseFile(window_, {}, false);
}

std::optional<size_t> TfrmMain::ChooseTypeLibResource(const TextList& items) {
  const ResourceChooser& chooser = Dialogs().resource;
  return chooser ? chooser(window_, items) : ChooseFromList(window_, kTypeLibChoiceCaption, kTypeLibChoicePrompt, items);
}

Text TfrmMain::HeaderName() const { return ControlText(eName); }
Text TfrmMain::HeaderGuid() const { return ControlText(eGUID); }

std::vector<SummaryLine> TfrmMain::RegistryLines() const {
  std::vector<SummaryLine> lines;
  // Each line before its children, children in their order.
  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int level) {
    for (; item; item = TreeView_GetNextSibling(RegTree, item)) {
      lines.push_back({level, ItemText(RegTree, item, regLines_)});
      walk(TreeView_GetChild(RegTree, item), level + 1);
    }
  };
  walk(TreeView_GetRoot(RegTree), 0);
  return lines;
}

void TfrmMain::PutOnClipboard(const Text& text) { PutTextOnClipboard(window_, text); }

void TfrmMain::ShowTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader) {
  ViewTypeLib(window_, record, loader);
}

void TfrmMain::cmAbout() { ShowAboutDialog(window_); }

}  // namespace brannock::ui
