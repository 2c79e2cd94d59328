// The commands of TfrmMain on Win32: the list exports, register and
// unregister through regsvr32, the test instance, the copy summary, and the
// type library views.
#include <windows.h>
#include <commdlg.h>

#include <filesystem>

#include "catalogue/list_file.h"
#include "platform/messages.h"
#include "platform/win32/wide_text.h"
#include "typelib/loader.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/object_actions.h"
#include "ui/win32/busy_status.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/viewer_hook.h"

namespace brannock::ui {

namespace {

// "Name (patterns)" NUL "patterns" NUL ... NUL: the filter of the common
// file dialogs.
std::wstring Filter(std::initializer_list<std::pair<const char16_t*, const char16_t*>> entries) {
  std::wstring filter;
  for (const auto& [name, patterns] : entries) {
    filter += platform::ToWide(name);
    filter += L'\0';
    filter += platform::ToWide(patterns);
    filter += L'\0';
  }
  filter += L'\0';
  return filter;
}

Text ChooseFile(HWND owner, TextView suggested, bool save) {
  std::wstring file = platform::ToWide(suggested);
  file.resize(32768, L'\0');
  const std::wstring filter =
      save ? Filter({{kListFileFilterName, u"*.csv"}, {kAllFilesFilterName, u"*.*"}})
           : Filter({{kTypeLibFilterName, kTypeLibFilterPatterns}, {kAllFilesFilterName, u"*.*"}});
  const std::wstring extension = platform::ToWide(kListFileExtension);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (save) {
    ofn.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    ofn.lpstrDefExt = extension.c_str();
    if (!GetSaveFileNameW(&ofn)) return {};
  } else {
    ofn.Flags |= OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&ofn)) return {};
  }
  return platform::FromWide(file.c_str(), wcslen(file.c_str()));
}

TfrmMain::FileChooser& SaveChooser() {
  static TfrmMain::FileChooser chooser = [](HWND owner, TextView suggested) { return ChooseFile(owner, suggested, true); };
  return chooser;
}

TfrmMain::FileChooser& OpenChooser() {
  static TfrmMain::FileChooser chooser = [](HWND owner, TextView) { return ChooseFile(owner, {}, false); };
  return chooser;
}

Text ItemText(HWND tree, HTREEITEM item, const std::vector<RegLine>& lines) {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!TreeView_GetItem(tree, &tv) || tv.lParam < 0 || static_cast<size_t>(tv.lParam) >= lines.size()) return {};
  return lines[static_cast<size_t>(tv.lParam)].text;
}

Text WindowText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  return platform::FromWide(text.data(), static_cast<size_t>(got));
}

void PutOnClipboard(HWND owner, const Text& text) {
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

void TfrmMain::SetSaveFileChooser(FileChooser chooser) {
  SaveChooser() = chooser ? std::move(chooser)
                          : [](HWND owner, TextView suggested) { return ChooseFile(owner, suggested, true); };
}

void TfrmMain::SetTypeLibFileChooser(FileChooser chooser) {
  OpenChooser() = chooser ? std::move(chooser) : [](HWND owner, TextView) { return ChooseFile(owner, {}, false); };
}

std::optional<TObjectData> TfrmMain::FocusedObject() const {
  HTREEITEM item = FocusedNode();
  if (!item || IsRoot(item)) return std::nullopt;
  const TObjectNode& node = *NodeOf(item);
  return NodeObject(catalogue_.List(node.Typ), node);
}

void TfrmMain::cmSave(int tag) {
  const std::optional<SaveCommand> command = SaveCommandFor(tag);
  if (!command) return;
  const Text file = SaveChooser()(window_, command->suggestedFile);
  if (file.empty()) return;
  WaitCursor cursor;
  if (catalogue_.List(command->typ).empty()) catalogue_.ReadList(command->typ);
  SaveList(std::filesystem::path(platform::ToWide(file)), catalogue_.List(command->typ));
}

void TfrmMain::bRegClick(int tag) {
  HTREEITEM item = FocusedNode();
  if (!item) return;
  const std::optional<ToolCommand> command =
      RegistrationCommand(ToolHost{ToolHost::Kind::Native, {}}, NodeOf(item)->Server, UnregistersFor(tag));
  if (!command) return;
  // The tool shows its own result; whether it started is not reported.
  RunTool(*command);
}

void TfrmMain::cmCreateInst() {
  HTREEITEM item = FocusedNode();
  if (!item || IsRoot(item)) return;
  MainWindowBusyDisplay display(*this);
  BusyScope busy(display, BusyScope::Cursor::Wait);
  const std::optional<TObjectData> object = FocusedObject();
  if (!object) return;
  const InstanceReport report = ProbeInstance(ToolHost{ToolHost::Kind::Native, {}}, object->ProgId);
  if (report.outcome == InstanceReport::Outcome::TypeInfoFailed) ShowErrorBox(platform::ErrorCodeText(report.code));
}

void TfrmMain::bCopyClick() {
  std::vector<SummaryLine> lines;
  // Each line before its children, children in their order.
  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int level) {
    for (; item; item = TreeView_GetNextSibling(RegTree, item)) {
      lines.push_back({level, ItemText(RegTree, item, regLines_)});
      walk(TreeView_GetChild(RegTree, item), level + 1);
    }
  };
  walk(TreeView_GetRoot(RegTree), 0);
  PutOnClipboard(window_, CopySummaryText(WindowText(eName), WindowText(eGUID), lines));
}

void TfrmMain::cmViewTLB() {
  HTREEITEM item = FocusedNode();
  if (!item || IsRoot(item)) return;
  // The viewer is modal: "Working..." stays until it is closed.
  MainWindowBusyDisplay display(*this);
  BusyScope busy(display, BusyScope::Cursor::Unchanged);
  if (const std::optional<TObjectData> object = FocusedObject()) ViewObjectTypeLib(*object);
}

void TfrmMain::cmViewTypeLib() {
  const Text file = OpenChooser()(window_, {});
  if (file.empty()) return;
  TObjectData record;
  record.Server = file;
  ViewObjectTypeLib(record);
}

void TfrmMain::ViewObjectTypeLib(const TObjectData& record) {
  const std::unique_ptr<typelib::TypeLibLoader> loader = typelib::CreateTypeLibLoader(
      nullptr, {}, {}, options_.view ? options_.view->View() : registry::RegistryView::Bits64);
  if (loader) ViewTypeLib(window_, record, *loader);
}

void TfrmMain::cmAbout() { ShowAbout(window_); }

}  // namespace brannock::ui
