// TfrmMain on Win32: creation, menus and the message dispatch. The layout,
// the object tree, the detail pane, the commands and the settings have
// files of their own (main_window_*.cpp).
#include "ui/win32/main_window.h"

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/window_sizes.h"
#include "ui/win32/find_window.h"
#include "ui/win32/font_quality.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/splitter.h"
#include "ui/win32/window_class.h"
#include "ui/win32/tab_keys.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_images.h"

namespace brannock::ui {

namespace {

using namespace main_size;

// The window whose object tree a tree view is (a window property).
constexpr wchar_t kTreeOwner[] = L"BrannockTreeOwner";
// The tree view class's own window procedure.
WNDPROC treeViewProc = nullptr;

HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, int id) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TfrmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->Handle()) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

// Typed characters go to the object tree's own type-ahead search. The
// tree's window procedure is replaced, not subclassed through comctl32:
// under Wine that chain looks a window property up for every message,
// which made inserting 40,000 nodes take seconds.
LRESULT CALLBACK TreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && wParam >= 0x20) {
    if (auto* self = static_cast<TfrmMain*>(GetPropW(tree, kTreeOwner))) {
      // The time the key was typed, not the time it is handled: a slow
      // pane update must not split one word into two searches.
      const auto typedAt = static_cast<int64_t>(static_cast<DWORD>(GetMessageTime()));
      Guarded(ReportError, [&] { self->TreeKeyPress(static_cast<wchar_t>(wParam), typedAt); });
      return 0;
    }
  }
  return CallWindowProcW(treeViewProc, tree, message, wParam, lParam);
}

}  // namespace

void RegisterMainWindowClass() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterWindowClass(
      {.name = kMainWindowClass, .procedure = MainWindowProc, .faceBackground = true, .programIcon = true});
}

TfrmMain::TfrmMain(Catalogue& catalogue, Options options)
    : TObjectCommands(catalogue, ProgramMessages(), {ToolHost{ToolHost::Kind::Native, {}}, options.view, nullptr}),
      TComparisonCommands(options.view ? options.view->Store() : catalogue.Backend(), options.view),
      TCheckCommands(catalogue, nullptr, options.view),  // the live registry: this machine's files
      TTreeCommands(catalogue, *this, {options.view, nullptr}),
      TFindCommands(catalogue),
      options_(std::move(options)) {
  RegisterMainWindowClass();
  // The designed client area, centred on the screen, at the system's dpi
  // (the window is made on the primary monitor); a window that turns out to
  // have another dpi is scaled to it below.
  dpi_ = SystemDpi();
  treeWidth_ = Scaled(kTreeWidth, dpi_);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const SIZE size = WindowSizeFor(Scaled(kClientWidth, dpi_), Scaled(kClientHeight, dpi_), style, true, 0, dpi_);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - size.cx) / 2;
  const int top = work.top + (work.bottom - work.top - size.cy) / 2;
  HWND created = CreateWindowExW(0, kMainWindowClass, platform::ToWide(kApplicationTitle).c_str(), style, left, top,
                                 size.cx, size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!created) throw std::runtime_error("The main window could not be created");
  window_ = created;
  CreateControls();
  BuildMenus();
  ShowView();
  SetFonts();
  Layout();
  if (const UINT dpi = WindowDpi(window_); dpi != dpi_) {
    RECT frame;
    GetWindowRect(window_, &frame);
    const SIZE scaled = WindowSizeFor(Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi), style, true, 0, dpi);
    const RECT suggested{frame.left, frame.top, frame.left + scaled.cx, frame.top + scaled.cy};
    DpiChanged(dpi, suggested);
  }

  ShowPane(false);
  catalogue_.Environment.clear();
  if (!options_.batchFailed) {
    GetEnvironmentList(catalogue_.Environment);
    CreateTree();
  }
  SetMainWindow(window_);
}

TfrmMain::~TfrmMain() {
  findWindow_.reset();  // owned by the window, which it refers to
  if (window_ && IsWindow(window_)) {
    options_.quitOnClose = false;
    DestroyWindow(window_);
  }
  SetMainWindow(nullptr);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (images_) ImageList_Destroy(images_);
  if (headerIcon_) DestroyIcon(headerIcon_);
  if (font_) DeleteObject(font_);
  if (boldFont_) DeleteObject(boldFont_);
}

void TfrmMain::CreateControls() {
  Tree = Child(WC_TREEVIEWW, L"",
               WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
               WS_EX_CLIENTEDGE, window_, 1);
  images_ = CreateTreeImages();
  TreeView_SetImageList(Tree, images_, TVSIL_NORMAL);
  SetPropW(Tree, kTreeOwner, this);
  const auto classProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(Tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeProc)));
  if (classProc != &TreeProc) treeViewProc = classProc;
  // A drag sets the width the user sees, within the window as it is now.
  Splitter = CreateSplitter(window_, 9, [this](int left) {
    RECT client;
    GetClientRect(window_, &client);
    treeWidth_ = ShownTreeWidth(left, client.right);
    Layout();
  });

  imgDefaultIcon = Child(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, window_, 2);
  eName = Child(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 0, window_, 3);
  eGUID = Child(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 0, window_, 4);

  pc = Child(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 0, window_, 5);
  TCITEMW tab{};
  tab.mask = TCIF_TEXT | TCIF_PARAM;
  wchar_t registryCaption[] = L" Registry ";
  tab.pszText = registryCaption;
  tab.lParam = pageRegistry;
  TabCtrl_InsertItem(pc, 0, &tab);
  // tsRegistry: the controls of the page lie above the tab control.
  RegTree = Child(WC_TREEVIEWW, L"", WS_TABSTOP | TVS_HASLINES | TVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, window_, 6);
  TreeView_SetBkColor(RegTree, GetSysColor(COLOR_BTNFACE));
  Memo = Child(L"EDIT", L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
               WS_EX_CLIENTEDGE, window_, 7);
  bView = Child(L"BUTTON", L"Type Library...", WS_TABSTOP | BS_PUSHBUTTON, 0, window_, cmdButtonView);
  bCopy = Child(L"BUTTON", L"Copy to Clipboard", WS_TABSTOP | BS_PUSHBUTTON, 0, window_, cmdButtonCopy);
  bReg = Child(L"BUTTON", L"Register", WS_TABSTOP | BS_PUSHBUTTON, 0, window_, cmdButtonReg);
  bUnreg = Child(L"BUTTON", L"Unregister", WS_TABSTOP | BS_PUSHBUTTON, 0, window_, cmdButtonUnreg);
  // tsReferences: the list and the notes below it.
  RefList = Child(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                  LVS_SHAREIMAGELISTS, WS_EX_CLIENTEDGE, window_, 11);
  ListView_SetExtendedListViewStyle(RefList, LVS_EX_FULLROWSELECT);
  ListView_SetImageList(RefList, images_, LVSIL_SMALL);
  for (int i = 0; i < 3; ++i) {
    std::wstring caption = platform::ToWide(kReferencesColumns[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = Scaled(i == 1 ? 200 : 150, dpi_);
    column.iSubItem = i;
    ListView_InsertColumn(RefList, i, &column);
  }
  RefNotes = Child(L"EDIT", L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                   WS_EX_CLIENTEDGE, window_, 12);
  // tsSecurity, added as a tab for the objects it applies to.
  SecurityText = Child(L"EDIT", L"",
                       WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                       WS_EX_CLIENTEDGE, window_, 10);

  sb = Child(STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, 0, window_, 8);
  LayOutStatusPanels();
  SetStatusText(kReadyText);
}

void TfrmMain::BuildMenus() {
  auto text = [](const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); };
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, cmdViewTypeLib, L"View TypeLib...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING | MF_CHECKED, cmdHex, L"Display Binary as Hex");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  HMENU save = CreatePopupMenu();
  for (int tag = 0; tag < kSaveCommandCount; ++tag)
    AppendMenuW(save, MF_STRING, cmdSaveFirst + tag, text(SaveCommandFor(tag)->caption));
  AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(save), L"Save");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, cmdRefresh, L"Refresh\tCtrl+R");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, cmdCompareWith, text(kCompareWithCaption));
  AppendMenuW(file, MF_STRING | MF_GRAYED, cmdEndComparison, text(kEndComparisonCaption));
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, cmdExit, L"Exit");

  HMENU object = CreatePopupMenu();
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdView, L"View Type Information...");
  AppendMenuW(object, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdCreateInst, L"Create instance");
  AppendMenuW(object, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdReg, L"Register Server");
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdUnreg, L"Unregister Server");
  AppendMenuW(object, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(object, MF_STRING, cmdCheck, text(kCheckMenuItem));

  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, cmdAbout, L"About...");

  // The view choice (when there is a view to choose), then Find.
  HMENU view = options_.view ? BuildViewMenu() : CreatePopupMenu();
  if (options_.view) AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(view, MF_STRING, cmdFind, (std::wstring(text(kFindMenuItem)) + L"\tCtrl+F").c_str());

  Menu = CreateMenu();
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"View");
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(object), L"Object");
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
  SetMenu(window_, Menu);

  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'R', cmdRefresh}, {FVIRTKEY | FCONTROL, 'F', cmdFind}};
  accelerators_ = CreateAcceleratorTableW(keys, 2);
}

void TfrmMain::ShowPane(bool visible) {
  paneVisible_ = visible;
  ShowWindow(pc, visible ? SW_SHOW : SW_HIDE);
  const PanePage page = ShownPage();
  for (HWND w : {RegTree, Memo, bView, bCopy, bReg, bUnreg})
    ShowWindow(w, visible && page == pageRegistry ? SW_SHOW : SW_HIDE);
  ShowWindow(SecurityText, visible && page == pageSecurity ? SW_SHOW : SW_HIDE);
  for (HWND w : {RefList, RefNotes}) ShowWindow(w, visible && page == pageReferences ? SW_SHOW : SW_HIDE);
}

void TfrmMain::SetStatusPanelText(int panel, TextView text) {
  const std::wstring wide = platform::ToWide(text);
  SendMessageW(sb, SB_SETTEXTW, static_cast<WPARAM>(panel) | SBT_NOBORDERS, reinterpret_cast<LPARAM>(wide.c_str()));
}

void TfrmMain::SetStatusText(TextView text) { SetStatusPanelText(0, text); }

Text TfrmMain::StatusText() const { return StatusPanelText(0); }

Text TfrmMain::StatusPanelText(int panel) const {
  const LRESULT length = LOWORD(SendMessageW(sb, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(sb, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return platform::FromWide(text);
}

// Paints what waits to be painted (the new status text, what a closed menu
// uncovered), not the whole window: repainting a tree of 40,000 nodes and
// the pane would cost more than the work that follows.
void TfrmMain::RepaintNow() { RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void TfrmMain::cmExit() { PostMessageW(window_, WM_CLOSE, 0, 0); }

bool TfrmMain::FilterMessage(MSG& msg) {
  if (!window_) return false;
  if (findWindow_ && findWindow_->FilterMessage(msg)) return true;
  if (TranslateAcceleratorW(window_, accelerators_, &msg) != 0) return true;
  return MoveFocusByTab(window_, msg);
}

HWND TfrmMain::FocusTarget() const {
  const HWND saved = focused_;
  if (saved && IsChild(window_, saved) && IsWindowVisible(saved) && IsWindowEnabled(saved)) return saved;
  return Tree;
}

void TfrmMain::OnCommand(WORD id) {
  if (id >= cmdSaveFirst && id < cmdSaveFirst + kSaveCommandCount) return cmSave(id - cmdSaveFirst);
  switch (id) {
    case cmdViewTypeLib: return cmViewTypeLib();
    case cmdHex: return mmHexClick();
    case cmdRefresh: return cmRefresh();
    case cmdExit: return cmExit();
    case cmdView:
    case cmdButtonView: return cmViewTLB();
    case cmdCreateInst: return cmCreateInst();
    case cmdReg:
    case cmdButtonReg: return bRegClick(kRegisterTag);
    case cmdUnreg:
    case cmdButtonUnreg: return bRegClick(kUnregisterTag);
    case cmdButtonCopy: return bCopyClick();
    case cmdAbout: return cmAbout();
    case cmdView64: return cmChooseView(registry::RegistryView::Bits64);
    case cmdView32: return cmChooseView(registry::RegistryView::Bits32);
    case cmdCompareWith: return cmCompareWith();
    case cmdEndComparison: return cmEndComparison();
    case cmdCheck: return cmCheckRegistrations();
    case cmdFind: return cmFind();
    default: return;
  }
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND const self = window_;
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) Guarded(ReportError, [&] { OnCommand(LOWORD(wParam)); });
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      Guarded(ReportError, [&] { result = OnNotify(reinterpret_cast<NMHDR*>(lParam)); });
      return result;
    }
    case WM_SIZE:
      // Minimized, the client area is empty: the controls keep their places
      // for the restore.
      if (wParam != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_ACTIVATE:
      // The control that had the focus gets it back (at first the object
      // tree), not the frame, whose keys would reach no control.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focused_ = focus;
      } else if (!HIWORD(wParam)) {
        SetFocus(FocusTarget());
      }
      return 0;
    case WM_SETFOCUS:
      // Given back by a closed box or window.
      SetFocus(FocusTarget());
      return 0;
    case WM_DPICHANGED:
      // Moved to a monitor of another scale, or its scale changed.
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SETTINGCHANGE:
      if (ChangesFontQuality(wParam)) SetFonts();
      break;
    case WM_CLOSE:
      // A granted close writes the settings, then ends the program.
      Guarded(ReportError, [&] { WriteWindowSettings(); });
      DestroyWindow(window_);
      return 0;
    case WM_ENDSESSION:
      // Log-off or shutdown ends the program without WM_CLOSE.
      if (wParam) Guarded(ReportError, [&] { WriteWindowSettings(); });
      return 0;
    case WM_DESTROY:
      if (!settingsWritten_) Guarded(ReportError, [&] { WriteWindowSettings(); });
      RemovePropW(Tree, kTreeOwner);
      for (auto& nodes : loaded_) nodes.clear();
      TreeView_DeleteAllItems(Tree);
      if (options_.quitOnClose) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(self, message, wParam, lParam);
}

}  // namespace brannock::ui
