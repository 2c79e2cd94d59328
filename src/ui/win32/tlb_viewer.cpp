#include "ui/win32/tlb_viewer.h"

#include <algorithm>
#include <functional>

#include "platform/win32/wide_text.h"
#include "ui/logic/viewer_status.h"
#include "ui/logic/window_pictures.h"
#include "ui/logic/window_sizes.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/splitter.h"
#include "ui/win32/tab_keys.h"
#include "ui/win32/text_view.h"
#include "ui/win32/tree_selection.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_images.h"

namespace brannock::ui {

namespace {

using namespace viewer_size;
// At 96 dpi, beside the sizes both front ends share.
constexpr int kTreeItemHeight = 16;
constexpr int kViewerMinTreeWidth = 20;
constexpr int kViewerFontPoints = 8;  // Tahoma 8

enum : int { kIdTree = 100, kIdText, kIdStatus, kIdSplitter };
enum : int { kCmPrint = 200, kCmExit, kCmFind, kCmFindNext, kCmPascal, kCmIdl };

UINT FindMessage() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

}  // namespace

TfrmTLBView::TfrmTLBView(HWND owner)
    : TViewerCommands(ProgramMessages()), owner_(owner) {
  FormCreate();
}

TfrmTLBView::~TfrmTLBView() {
  if (window_) DestroyWindow(window_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (ImageList) ImageList_Destroy(ImageList);
  if (font_) DeleteObject(font_);
}

void TfrmTLBView::FormCreate() {
  FCurrentLine = -1;
  RegisterWindowClass({.name = kViewerWindowClass, .faceBackground = true, .programIcon = true});
  CreateMenu();
  // Centred on the screen at the system's dpi; a window that turns out to
  // have another dpi is scaled to it at the end.
  dpi_ = SystemDpi();
  treeWidth_ = Scaled(kTreeWidth, dpi_);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const SIZE size = WindowSizeFor(Scaled(kClientWidth, dpi_), Scaled(kClientHeight, dpi_), style, true, 0, dpi_);
  const int width = size.cx, height = size.cy;
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  window_ = CreateWindowExW(0, kViewerWindowClass, reinterpret_cast<const wchar_t*>(kViewerCaption), style,
                            work.left + std::max<LONG>(0, (work.right - work.left - width) / 2),
                            work.top + std::max<LONG>(0, (work.bottom - work.top - height) / 2), width, height,
                            owner_, MainMenu, GetModuleHandleW(nullptr), nullptr);
  HandOver<TfrmTLBView, &TfrmTLBView::Handle>(window_, this);

  Tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                             TVS_SHOWSELALWAYS,
                         0, 0, treeWidth_, 100, window_, reinterpret_cast<HMENU>(kIdTree), GetModuleHandleW(nullptr),
                         nullptr);
  ImageList = CreateViewerImages();
  TreeView_SetImageList(Tree, ImageList, TVSIL_NORMAL);

  // A drag sets the width the user sees, within the window as it is now.
  Splitter = CreateSplitter(window_, kIdSplitter, [this](int left) {
    RECT client;
    GetClientRect(window_, &client);
    treeWidth_ = ShownTreeWidth(left, client.right);
    Layout();
  });
  SynMemo = TTextView::Create(window_, kIdText, dpi_);
  SynMemo->OnStatusChange = [this] { SynMemoStatusChange(); };

  sb = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                       reinterpret_cast<HMENU>(kIdStatus), GetModuleHandleW(nullptr), nullptr);
  SetFonts();
  SetPanel(0, kReadyText);
  SetPanel(1, u"");

  FindRequest.lStructSize = sizeof(FindRequest);
  FindRequest.hwndOwner = window_;
  FindRequest.lpstrFindWhat = findText_.data();
  FindRequest.wFindWhatLen = static_cast<WORD>(findText_.size());
  FindRequest.Flags = FR_DOWN;
  Layout();
  if (const UINT dpi = WindowDpi(window_); dpi != dpi_) {
    RECT frame;
    GetWindowRect(window_, &frame);
    const SIZE scaled = WindowSizeFor(Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi), style, true, 0, dpi);
    DpiChanged(dpi, {frame.left, frame.top, frame.left + scaled.cx, frame.top + scaled.cy});
  }
}

// The window's font (Tahoma 8) at its dpi, on the tree and the status bar,
// and the sizes that follow the font.
void TfrmTLBView::SetFonts() {
  const HFONT old = font_;
  font_ = CreateFontW(FontHeight(kViewerFontPoints, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  const BOOL redraw = old != nullptr;
  SendMessageW(Tree, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
  TreeView_SetItemHeight(Tree, Scaled(kTreeItemHeight, dpi_));
  SendMessageW(sb, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
  SendMessageW(sb, SB_SETMINHEIGHT, Scaled(kStatusBarHeight, dpi_), 0);
  if (old) DeleteObject(old);
}

void TfrmTLBView::DpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) return;
  treeWidth_ = MulDiv(treeWidth_, static_cast<int>(dpi), static_cast<int>(dpi_));
  dpi_ = dpi;
  SetFonts();
  SynMemo->SetDpi(dpi);
  MoveToSuggested(window_, suggested);
  Layout();
}

void TfrmTLBView::CreateMenu() {
  MainMenu = ::CreateMenu();
  const HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kCmPrint, L"Print...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCmExit, L"Exit\tEsc");
  AppendMenuW(MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
  const HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, kCmFind, L"Find...\tCtrl+F");
  AppendMenuW(edit, MF_STRING, kCmFindNext, L"Find Next\tF3");
  AppendMenuW(MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"Edit");
  View1 = CreatePopupMenu();
  AppendMenuW(View1, MF_STRING, kCmPascal, L"Object Pascal");
  AppendMenuW(View1, MF_STRING, kCmIdl, L"IDL");
  CheckMenuRadioItem(View1, kCmPascal, kCmIdl, kCmPascal, MF_BYCOMMAND);
  AppendMenuW(MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(View1), L"View");
  ACCEL keys[] = {{FVIRTKEY, VK_ESCAPE, kCmExit},
                  {FVIRTKEY | FCONTROL, 'F', kCmFind},
                  {FVIRTKEY, VK_F3, kCmFindNext}};
  accelerators_ = CreateAcceleratorTableW(keys, 3);
}

int TfrmTLBView::ShownTreeWidth(int wanted, int clientWidth) const {
  const int least = Scaled(kViewerMinTreeWidth, dpi_);
  return std::clamp(wanted, least, std::max<int>(least, clientWidth - Scaled(kSplitterWidth, dpi_) - least));
}

void TfrmTLBView::SetLanguage(TUnitLanguage language) {
  CheckMenuRadioItem(View1, kCmPascal, kCmIdl, language == TUnitLanguage::Idl ? kCmIdl : kCmPascal, MF_BYCOMMAND);
  SynMemo->SetLanguage(language);
}

void TfrmTLBView::Layout() {
  RECT rc;
  GetClientRect(window_, &rc);
  SendMessageW(sb, WM_SIZE, 0, 0);
  RECT status;
  GetWindowRect(sb, &status);
  const int statusHeight = status.bottom - status.top;
  const int height = std::max<int>(0, rc.bottom - statusHeight);
  // A window too narrow for the tree shows less of it; the width kept is
  // the user's.
  const int treeWidth = ShownTreeWidth(treeWidth_, rc.right);
  const int splitter = Scaled(kSplitterWidth, dpi_);
  MoveWindow(Tree, 0, 0, treeWidth, height, TRUE);
  MoveWindow(Splitter, treeWidth, 0, splitter, height, TRUE);
  MoveWindow(SynMemo->Handle(), treeWidth + splitter, 0, std::max<int>(0, rc.right - treeWidth - splitter), height,
             TRUE);
  TreeResize();
}

void TfrmTLBView::TreeResize() {
  RECT rc;
  GetWindowRect(Tree, &rc);
  const int parts[2] = {static_cast<int>(rc.right - rc.left), -1};
  SendMessageW(sb, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void TfrmTLBView::SetPanel(int panel, const Text& text) {
  // Each new text paints the status bar at once: only changes go there.
  if (panelTexts_[static_cast<size_t>(panel)] == text) return;
  panelTexts_[static_cast<size_t>(panel)] = text;
  const std::wstring wide = platform::ToWide(text);
  SendMessageW(sb, SB_SETTEXTW, static_cast<WPARAM>(panel) | (panel == 0 ? SBT_NOBORDERS : 0),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

Text TfrmTLBView::PanelText(int panel) const {
  const auto length = LOWORD(SendMessageW(sb, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
  std::wstring text(length + 1u, L'\0');
  SendMessageW(sb, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return platform::FromWide(text);
}

HTREEITEM TfrmTLBView::AddNode(HTREEITEM parent, const TTypeTreeItem& item, int depth) {
  nodes_.push_back(item.Node);
  const std::wstring text = platform::ToWide(TypeNodeText(item.Node, item.Children.size()));
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.lParam = static_cast<LPARAM>(nodes_.size() - 1);
  insert.item.cChildren = item.Children.empty() ? 0 : 1;
  // Kind is the image index; a node without a kind shows a blank image.
  const int image = ViewerImageOf(item.Node.Kind);
  insert.item.iImage = insert.item.iSelectedImage = image;
  const HTREEITEM added = TreeView_InsertItem(Tree, &insert);
  // The types of a category go into the control when it is first expanded
  // (the tree view takes long for thousands of items under Wine).
  if (depth == 0) {
    for (const TTypeTreeItem& child : item.Children) AddNode(added, child, depth + 1);
  } else if (!item.Children.empty()) {
    pending_.push_back({added, &item});
  }
  return added;
}

void TfrmTLBView::InsertPendingChildren(HTREEITEM item) {
  for (Pending& pending : pending_) {
    if (pending.item != item || pending.inserted) continue;
    pending.inserted = true;
    SendMessageW(Tree, WM_SETREDRAW, FALSE, 0);
    for (const TTypeTreeItem& child : pending.node->Children) AddNode(item, child, 2);
    SendMessageW(Tree, WM_SETREDRAW, TRUE, 0);
    return;
  }
}

void TfrmTLBView::FillTree(typelib::TypeLib& lib) {
  SendMessageW(Tree, WM_SETREDRAW, FALSE, 0);
  struct EndUpdate {
    HWND tree;
    ~EndUpdate() {
      SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(tree, nullptr, TRUE);
    }
  } endUpdate{Tree};
  TreeView_DeleteAllItems(Tree);
  nodes_.clear();
  pending_.clear();
  tree_ = BuildTypeTree(lib);
  const HTREEITEM root = AddNode(nullptr, tree_.Root, 0);
  if (tree_.Complete) TreeView_Expand(Tree, root, TVE_EXPAND);
}

const TTypeNode* TfrmTLBView::NodeOf(HTREEITEM item) const {
  TVITEMW data = {};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!item || !TreeView_GetItem(Tree, &data)) return nullptr;
  const auto index = static_cast<size_t>(data.lParam);
  return index < nodes_.size() ? &nodes_[index] : nullptr;
}

void TfrmTLBView::TreeTypeAhead(wchar_t typed, int64_t timeMs) {
  const char16_t c[2] = {static_cast<char16_t>(typed), 0};
  const Text& search = typeAhead_.Type(c, timeMs);
  // Every node in display order, inserted into the control or not: the
  // root, then each category followed by its types.
  const HTREEITEM root = TreeView_GetRoot(Tree);
  if (!root) return;
  TextList shown{TypeNodeText(tree_.Root.Node, tree_.Root.Children.size())};
  std::vector<std::pair<HTREEITEM, size_t>> where{{root, SIZE_MAX}};
  HTREEITEM category = TreeView_GetChild(Tree, root);
  for (const TTypeTreeItem& item : tree_.Root.Children) {
    shown.push_back(TypeNodeText(item.Node, item.Children.size()));
    where.emplace_back(category, SIZE_MAX);
    for (size_t i = 0; i < item.Children.size(); ++i) {
      shown.push_back(TypeNodeText(item.Children[i].Node, item.Children[i].Children.size()));
      where.emplace_back(category, i);
    }
    category = TreeView_GetNextSibling(Tree, category);
  }
  // The focused node's place in that order: a category's own entry, or
  // one of its types by index.
  const HTREEITEM selected = TreeView_GetSelection(Tree);
  const HTREEITEM selectedParent = selected ? TreeView_GetParent(Tree, selected) : nullptr;
  const bool selectedIsType = selectedParent && selectedParent != root;
  const std::pair<HTREEITEM, size_t> selectedAt =
      selectedIsType ? std::pair{selectedParent, ChildIndex(selected)} : std::pair{selected, SIZE_MAX};
  const auto at = std::find(where.begin(), where.end(), selectedAt);
  const size_t focused = at == where.end() ? 0 : static_cast<size_t>(at - where.begin());
  const auto match = FindTypeAheadMatch(shown, focused, search);
  if (!match) {
    MessageBeep(MB_OK);
    return;
  }
  HTREEITEM found = where[*match].first;
  if (where[*match].second != SIZE_MAX) {
    InsertPendingChildren(found);
    found = TreeView_GetChild(Tree, found);
    for (size_t i = 0; i < where[*match].second && found; ++i) found = TreeView_GetNextSibling(Tree, found);
  }
  SelectAndShow(Tree, found);
}

size_t TfrmTLBView::ChildIndex(HTREEITEM item) const {
  size_t index = 0;
  for (HTREEITEM sibling = TreeView_GetPrevSibling(Tree, item); sibling;
       sibling = TreeView_GetPrevSibling(Tree, sibling))
    ++index;
  return index;
}

// The tree's characters are taken here rather than in a subclass of the
// control: under Wine every message to a window subclassed through
// comctl32 costs a server call.
bool TfrmTLBView::FilterMessage(MSG& msg) {
  if (fd && IsDialogMessageW(fd, &msg)) return true;
  if (window_ && TranslateAcceleratorW(window_, accelerators_, &msg) != 0) return true;
  if (MoveFocusByTab(window_, msg)) return true;
  // Typed characters search the shown texts of all nodes (the control's own
  // search sees only expanded ones and ignores letter case); a character is
  // timed by its key message.
  if (msg.hwnd == Tree && Tree && msg.message == WM_CHAR && msg.wParam >= 0x20) {
    Guarded(ReportError, [&] { TreeTypeAhead(static_cast<wchar_t>(msg.wParam), static_cast<int64_t>(msg.time)); });
    return true;
  }
  return false;
}

void TfrmTLBView::OnNotify(const NMHDR* header) {
  if (header->hwndFrom != Tree) return;
  if (header->code == NM_DBLCLK) TreeDblClick();
  if (header->code == TVN_ITEMEXPANDINGW) {
    const auto* expanding = reinterpret_cast<const NMTREEVIEWW*>(header);
    if (expanding->action & TVE_EXPAND) InsertPendingChildren(expanding->itemNew.hItem);
  }
}

bool TfrmTLBView::OnCommand(WORD id) {
  switch (id) {
    case kCmPrint: cmPrint(); return true;
    case kCmExit: cmExit(); return true;
    case kCmFind: cmFind(); return true;
    case kCmFindNext: cmFindNext(); return true;
    case kCmPascal: cmLanguage(TUnitLanguage::Pascal); return true;
    case kCmIdl: cmLanguage(TUnitLanguage::Idl); return true;
    default: return false;
  }
}

LRESULT TfrmTLBView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND self = window_;
  if (message == FindMessage()) {
    const auto* request = reinterpret_cast<const FINDREPLACEW*>(lParam);
    if (request->Flags & FR_DIALOGTERM) {
      fd = nullptr;
    } else if (request->Flags & FR_FINDNEXT) {
      fdFind();
    }
    return 0;
  }
  switch (message) {
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SIZE:
      // Minimized, the client area is empty: the controls keep their places.
      if (wParam != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_NOTIFY:
      // What a handler raises goes to the general error report, as in the
      // main window: nothing may leave a window procedure.
      Guarded(ReportError, [&] { OnNotify(reinterpret_cast<const NMHDR*>(lParam)); });
      return 0;
    case WM_COMMAND: {
      bool handled = false;
      Guarded(ReportError, [&] { handled = OnCommand(LOWORD(wParam)); });
      if (handled) return 0;
      break;
    }
    case WM_HELP:
      return TRUE;  // no context help
    case WM_CLOSE:
      cmExit();
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      SynMemo = nullptr;
      Tree = sb = fd = Splitter = nullptr;
      break;
    case WM_ACTIVATE:
      // The control that had the focus gets it back.
      if (LOWORD(wParam) == WA_INACTIVE) {
        focused_ = GetFocus();
      } else if (focused_ && IsChild(window_, focused_)) {
        SetFocus(focused_);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(self, message, wParam, lParam);
}

void TfrmTLBView::cmExit() {
  if (fd) DestroyWindow(fd);
  if (window_) EndModal(window_);
}

void TfrmTLBView::ShowModal() {
  if (!window_) return;
  SetFocus(SynMemo->Handle());
  // The find dialog gets its keys; Esc, Ctrl+F and F3 work everywhere else.
  RunModal(owner_, window_, [this](MSG& msg) { return FilterMessage(msg); });
}

}  // namespace brannock::ui
