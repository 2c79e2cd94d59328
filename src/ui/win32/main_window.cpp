// TfrmMain on Win32: creation, layout, menus and the message dispatch. The
// object tree, the detail pane, the commands and the settings have files of
// their own (main_window_*.cpp).
#include "ui/win32/main_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/main_window_text.h"
#include "ui/win32/font_quality.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/tree_images.h"

namespace brannock::ui {

namespace {

constexpr int kSplitterWidth = 4;
constexpr int kPaneBorder = 5;
constexpr int kHeaderHeight = 41;
constexpr int kMemoHeight = 107;
constexpr int kButtonRowHeight = 38;
constexpr int kStatusPanelWidth = 50;
constexpr int kViewPanelWidth = 140;
constexpr int kMinTreeWidth = 30;

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
      Guarded([&] { self->TreeKeyPress(static_cast<wchar_t>(wParam), typedAt); });
      return 0;
    }
  }
  return CallWindowProcW(treeViewProc, tree, message, wParam, lParam);
}

}  // namespace

void RegisterMainWindowClass() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  registered = RegisterClassExW(&wc) != 0;
}

TfrmMain::TfrmMain(Catalogue& catalogue, Options options) : catalogue_(catalogue), options_(std::move(options)) {
  RegisterMainWindowClass();
  // The designed client area of 792 by 554 pixels, centred on the screen.
  RECT frame{0, 0, 792, 554};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, TRUE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  HWND created = CreateWindowExW(0, kMainWindowClass, platform::ToWide(kApplicationTitle).c_str(), style, left, top,
                                 width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!created) throw std::runtime_error("The main window could not be created");
  window_ = created;
  CreateControls();
  BuildMenus();
  ShowView();
  SetFonts();
  Layout();

  ShowPane(false);
  catalogue_.Environment.clear();
  if (!options_.batchFailed) {
    GetEnvironmentList(catalogue_.Environment);
    CreateTree();
  }
  SetMainWindow(window_);
}

TfrmMain::~TfrmMain() {
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

  imgDefaultIcon = Child(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, window_, 2);
  eName = Child(L"EDIT", L"", WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 0, window_, 3);
  eGUID = Child(L"EDIT", L"", WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 0, window_, 4);

  pc = Child(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 0, window_, 5);
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  wchar_t registryCaption[] = L" Registry ";
  tab.pszText = registryCaption;
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

  sb = Child(STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, 0, window_, 8);
  // The view's panel, then the registry's, which takes the rest.
  std::vector<int> panels;
  if (options_.view) panels.push_back(kViewPanelWidth);
  if (!options_.sourceText.empty()) panels.push_back(kStatusPanelWidth);
  SetStatusPanels(panels);
  if (!options_.sourceText.empty()) SetStatusPanelText(static_cast<int>(panels.size()), options_.sourceText);
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
  AppendMenuW(file, MF_STRING, cmdExit, L"Exit");

  HMENU object = CreatePopupMenu();
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdView, L"View Type Information...");
  AppendMenuW(object, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdCreateInst, L"Create instance");
  AppendMenuW(object, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdReg, L"Register Server");
  AppendMenuW(object, MF_STRING | MF_GRAYED, cmdUnreg, L"Unregister Server");

  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, cmdAbout, L"About...");

  Menu = CreateMenu();
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
  if (options_.view) AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildViewMenu()), L"View");
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(object), L"Object");
  AppendMenuW(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
  SetMenu(window_, Menu);

  ACCEL refresh{FVIRTKEY | FCONTROL, 'R', cmdRefresh};
  accelerators_ = CreateAcceleratorTableW(&refresh, 1);
}

// Also when the system's font smoothing changes: the fonts name its
// quality (font_quality.h), so they are made anew.
void TfrmMain::SetFonts() {
  HDC dc = GetDC(window_);
  const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(window_, dc);
  const BYTE quality = SystemFontQuality();
  auto tahoma = [&](int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, L"Tahoma");
  };
  HFONT const oldFont = font_, oldBold = boldFont_;
  font_ = tahoma(FW_NORMAL);
  boldFont_ = tahoma(FW_BOLD);
  const BOOL redraw = oldFont != nullptr;
  for (HWND control : {Tree, eGUID, pc, RegTree, Memo, bView, bCopy, bReg, bUnreg, sb})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
  SendMessageW(eName, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), redraw);
  if (oldFont) DeleteObject(oldFont);
  if (oldBold) DeleteObject(oldBold);
}

void TfrmMain::Layout() {
  RECT client;
  GetClientRect(window_, &client);
  SendMessageW(sb, WM_SIZE, 0, 0);
  RECT status;
  GetWindowRect(sb, &status);
  const int width = client.right;
  const int height = std::max(0, static_cast<int>(client.bottom - (status.bottom - status.top)));
  treeWidth_ = std::clamp(treeWidth_, kMinTreeWidth, std::max(kMinTreeWidth, width - kSplitterWidth - kMinTreeWidth));

  HDWP batch = BeginDeferWindowPos(12);
  auto place = [&](HWND w, int x, int y, int cx, int cy) {
    batch = DeferWindowPos(batch, w, nullptr, x, y, std::max(cx, 0), std::max(cy, 0), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(Tree, 0, 0, treeWidth_, height);
  const int px = treeWidth_ + kSplitterWidth + kPaneBorder, py = kPaneBorder;
  const int pw = width - px - kPaneBorder, ph = height - 2 * kPaneBorder;
  place(imgDefaultIcon, px, py + 4, 32, 32);
  place(eName, px + 40, py + 4, pw - 40, 16);
  place(eGUID, px + 40, py + 22, pw - 40, 16);
  place(pc, px, py + kHeaderHeight, pw, ph - kHeaderHeight);
  EndDeferWindowPos(batch);

  RECT page{0, 0, pw, ph - kHeaderHeight};
  TabCtrl_AdjustRect(pc, FALSE, &page);
  const int ax = px + page.left + 2, ay = py + kHeaderHeight + page.top + 2;
  const int aw = page.right - page.left - 4, ah = page.bottom - page.top - 4;
  batch = BeginDeferWindowPos(6);
  place(RegTree, ax, ay, aw, ah - kMemoHeight - kButtonRowHeight - 4);
  place(Memo, ax, ay + ah - kMemoHeight - kButtonRowHeight, aw, kMemoHeight);
  const int by = ay + ah - kButtonRowHeight + 7;
  place(bView, ax, by, 100, 25);
  place(bCopy, ax + 104, by, 100, 25);
  place(bReg, ax + aw - 154, by, 75, 25);
  place(bUnreg, ax + aw - 75, by, 75, 25);
  EndDeferWindowPos(batch);
}

void TfrmMain::ShowPane(bool visible) {
  paneVisible_ = visible;
  for (HWND w : {pc, RegTree, Memo, bView, bCopy, bReg, bUnreg}) ShowWindow(w, visible ? SW_SHOW : SW_HIDE);
}

void TfrmMain::SetStatusPanels(const std::vector<int>& extraWidths) {
  statusWidths_ = {kStatusPanelWidth};
  statusWidths_.insert(statusWidths_.end(), extraWidths.begin(), extraWidths.end());
  std::vector<int> rightEdges;
  int edge = 0;
  for (size_t i = 0; i < statusWidths_.size(); ++i) {
    edge += statusWidths_[i];
    rightEdges.push_back(i + 1 == statusWidths_.size() && i > 0 ? -1 : edge);
  }
  SendMessageW(sb, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
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

bool TfrmMain::InSplitter(int x) const { return x >= treeWidth_ && x < treeWidth_ + kSplitterWidth; }

void TfrmMain::cmExit() { PostMessageW(window_, WM_CLOSE, 0, 0); }

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
    default: return;
  }
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND const self = window_;
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) Guarded([&] { OnCommand(LOWORD(wParam)); });
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      Guarded([&] { result = OnNotify(reinterpret_cast<NMHDR*>(lParam)); });
      return result;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETTINGCHANGE:
      if (ChangesFontQuality(wParam)) SetFonts();
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window_, &p);
        if (InSplitter(p.x)) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN:
      if (InSplitter(GET_X_LPARAM(lParam))) {
        dragging_ = true;
        SetCapture(window_);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        treeWidth_ = GET_X_LPARAM(lParam);
        Layout();
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (message == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    case WM_CLOSE:
      // A granted close writes the settings, then ends the program.
      Guarded([&] { WriteWindowSettings(); });
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      if (!settingsWritten_) Guarded([&] { WriteWindowSettings(); });
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
