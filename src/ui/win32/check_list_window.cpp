#include "ui/win32/check_list_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/wide_text.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_font.h"

namespace brannock::ui {

namespace {

constexpr int kCheckListMargin = 8;
constexpr int kCheckListButtonWidth = 75;
constexpr int kCheckListButtonHeight = 23;
constexpr int kCheckListCountHeight = 16;
enum : int { kCheckListIdList = 100, kCheckListIdCount };

// The window's state while it runs. The list is a virtual one (owner
// data): a large registry has thousands of findings, and the texts are
// given when the list draws a row. The sizes above are of the 96-dpi
// design, drawn at the owner's dpi.
struct CheckList {
  const std::vector<CheckRow>* rows = nullptr;
  UINT dpi = kDesignDpi;
  std::vector<std::wstring> objects, reasons, keyPaths;
  HWND list = nullptr, count = nullptr, close = nullptr;
  std::optional<size_t> chosen;
};

void Take(HWND window, CheckList& state, int item) {
  if (item >= 0 && static_cast<size_t>(item) < state.rows->size()) {
    state.chosen = static_cast<size_t>(item);
    DestroyWindow(window);
  }
}

void Layout(HWND window, const CheckList& state) {
  RECT client;
  GetClientRect(window, &client);
  const auto S = [&](int length) { return Scaled(length, state.dpi); };
  const int width = client.right, height = client.bottom;
  const int margin = S(kCheckListMargin), buttonWidth = S(kCheckListButtonWidth), buttonHeight = S(kCheckListButtonHeight);
  const int countHeight = S(kCheckListCountHeight);
  const int bottom = height - margin - buttonHeight;
  MoveWindow(state.list, margin, margin, std::max(0, width - 2 * margin), std::max(0, bottom - 2 * margin), TRUE);
  MoveWindow(state.count, margin, bottom + (buttonHeight - countHeight) / 2,
             std::max(0, width - 3 * margin - buttonWidth), countHeight, TRUE);
  MoveWindow(state.close, width - margin - buttonWidth, bottom, buttonWidth, buttonHeight, TRUE);
}

// The texts of a row as the list asks for them.
void GiveDisplayInfo(const CheckList& state, LVITEMW& item) {
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= state.rows->size()) return;
  const auto row = static_cast<size_t>(item.iItem);
  if (item.mask & LVIF_TEXT) {
    const std::wstring& text = item.iSubItem == 0 ? state.objects[row] : state.reasons[row];
    item.pszText = const_cast<wchar_t*>(text.c_str());
  }
  if (item.mask & LVIF_IMAGE) item.iImage = static_cast<int>((*state.rows)[row].severity);
}

LRESULT OnNotify(HWND window, CheckList& state, NMHDR* header) {
  if (header->hwndFrom != state.list) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      GiveDisplayInfo(state, reinterpret_cast<NMLVDISPINFOW*>(header)->item);
      return 0;
    case LVN_GETINFOTIPW: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
      if (tip->iItem >= 0 && static_cast<size_t>(tip->iItem) < state.keyPaths.size() && tip->cchTextMax > 0) {
        const std::wstring& path = state.keyPaths[static_cast<size_t>(tip->iItem)];
        const size_t n = std::min(path.size(), static_cast<size_t>(tip->cchTextMax - 1));
        std::copy_n(path.begin(), n, tip->pszText);
        tip->pszText[n] = L'\0';
      }
      return 0;
    }
    case LVN_ITEMACTIVATE:  // a double click on a row
      Take(window, state, reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
      return 0;
    default:
      return 0;
  }
}

LRESULT CALLBACK CheckListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<CheckList*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state) {
    switch (message) {
      case WM_NOTIFY:
        return OnNotify(window, *state, reinterpret_cast<NMHDR*>(lParam));
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {  // Enter: the selected row
          Take(window, *state, ListView_GetNextItem(state->list, -1, LVNI_SELECTED));
          return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          DestroyWindow(window);
          return 0;
        }
        break;
      case WM_SIZE:
        Layout(window, *state);
        return 0;
      case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {Scaled(300, state->dpi), Scaled(200, state->dpi)};
        return 0;
      default:
        break;
    }
  }
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The system's images of the three severities, small.
HIMAGELIST SeverityImages() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  HIMAGELIST images = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (const wchar_t* id : {IDI_ERROR, IDI_WARNING, IDI_INFORMATION}) {
    auto icon = static_cast<HICON>(LoadImageW(nullptr, id, IMAGE_ICON, cx, cy, LR_SHARED));
    ImageList_AddIcon(images, icon);
  }
  return images;
}

}  // namespace

std::optional<size_t> ShowCheckList(HWND owner, const std::vector<CheckRow>& rows, const Text& count) {
  RegisterWindowClass({.name = kCheckListClass, .procedure = CheckListProc, .faceBackground = true});
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  const UINT dpi = owner ? WindowDpi(owner) : SystemDpi();
  const SIZE size = WindowSizeFor(Scaled(kCheckWindowWidth, dpi), Scaled(kCheckWindowHeight, dpi), style, false,
                                  WS_EX_CONTROLPARENT, dpi);
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &area);
  const int width = size.cx, height = size.cy;
  const HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kCheckListClass, platform::ToWide(kCheckCaption).c_str(),
                                      style, area.left + (area.right - area.left - width) / 2,
                                      area.top + (area.bottom - area.top - height) / 2, width, height, owner,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return std::nullopt;
  CheckList state;
  state.rows = &rows;
  state.dpi = dpi;
  for (const CheckRow& row : rows) {
    state.objects.push_back(platform::ToWide(row.object));
    state.reasons.push_back(platform::ToWide(row.reason));
    state.keyPaths.push_back(platform::ToWide(row.keyPath));
  }
  state.list = CreateChildControl(window, WC_LISTVIEWW, L"",
                       WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                       WS_EX_CLIENTEDGE,
                       kCheckListIdList);
  state.count = CreateChildControl(window, L"STATIC", platform::ToWide(count).c_str(), SS_LEFT | SS_NOPREFIX, 0, kCheckListIdCount);
  state.close = CreateChildControl(window, L"BUTTON", L"Close", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

  ListView_SetExtendedListViewStyle(state.list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  HIMAGELIST images = SeverityImages();
  ListView_SetImageList(state.list, images, LVSIL_SMALL);  // destroyed here (LVS_SHAREIMAGELISTS)
  const int columnWidths[] = {Scaled(kCheckWindowWidth * 2 / 5, dpi),
                              Scaled(kCheckWindowWidth * 3 / 5 - 2 * kCheckListMargin - 24, dpi)};
  for (int i = 0; i < 2; ++i) {
    std::wstring caption = platform::ToWide(kCheckColumns[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = columnWidths[i];
    column.iSubItem = i;
    ListView_InsertColumn(state.list, i, &column);
  }
  ListView_SetItemCountEx(state.list, static_cast<int>(rows.size()), LVSICF_NOINVALIDATEALL);
  if (!rows.empty()) ListView_SetItemState(state.list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

  const HFONT font = CreateWindowFont(dpi);
  for (HWND control : {state.list, state.count, state.close})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Layout(window, state);
  SetFocus(state.list);
  // The dialog keys: Tab between the list and Close, Enter for the row
  // selected, Esc to close.
  RunModal(owner, window, [window](MSG& msg) { return IsWindow(window) && IsDialogMessageW(window, &msg); });
  DeleteObject(font);
  ImageList_Destroy(images);
  return state.chosen;
}

}  // namespace brannock::ui
