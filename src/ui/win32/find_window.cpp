#include "ui/win32/find_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/win32/wide_text.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_font.h"

namespace brannock::ui {

namespace {

// The 96-dpi design, drawn at the owner's dpi.
constexpr int kFindMargin = 8;
constexpr int kFindLineHeight = 16;
constexpr int kFindEditHeight = 21;
enum : int { kFindIdPrompt = 100, kFindIdEdit, kFindIdList, kFindIdCount };

}  // namespace

FindObjectsWindow::FindObjectsWindow(HWND owner, HIMAGELIST images, Hooks hooks) : owner_(owner), hooks_(std::move(hooks)) {
  RegisterWindowClass({.name = kFindWindowClass, .faceBackground = true});
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  dpi_ = owner ? WindowDpi(owner) : SystemDpi();
  const SIZE size = WindowSizeFor(Scaled(kFindWindowWidth, dpi_), Scaled(kFindWindowHeight, dpi_), style, false,
                                  WS_EX_CONTROLPARENT, dpi_);
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &area);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFindWindowClass, platform::ToWide(kFindCaption).c_str(), style,
                            area.left + (area.right - area.left - size.cx) / 2,
                            area.top + (area.bottom - area.top - size.cy) / 2, size.cx, size.cy, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) throw std::runtime_error("The Find window could not be created");
  prompt_ = CreateChildControl(window_, L"STATIC", platform::ToWide(kFindPrompt).c_str(), SS_LEFT | SS_NOPREFIX, 0, kFindIdPrompt);
  edit_ = CreateChildControl(window_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kFindIdEdit);
  list_ = CreateChildControl(window_, WC_LISTVIEWW, L"",
                  WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                  WS_EX_CLIENTEDGE, kFindIdList);
  count_ = CreateChildControl(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, kFindIdCount);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
  ListView_SetImageList(list_, images, LVSIL_SMALL);
  const int widths[] = {kFindWindowWidth * 2 / 5, kFindWindowWidth * 3 / 10, kFindWindowWidth * 3 / 10 - 2 * kFindMargin - 24};
  for (int i = 0; i < 3; ++i) {
    std::wstring caption = platform::ToWide(kFindColumns[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = Scaled(widths[i], dpi_);
    column.iSubItem = i;
    ListView_InsertColumn(list_, i, &column);
  }
  HandOver<FindObjectsWindow, &FindObjectsWindow::HandleMessage>(window_, this);
  SetFonts();
  Layout();
}

FindObjectsWindow::~FindObjectsWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
}

void FindObjectsWindow::SetFonts() {
  HFONT const old = font_;
  font_ = CreateWindowFont(dpi_);
  for (HWND control : {prompt_, edit_, list_, count_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), old != nullptr);
  if (old) DeleteObject(old);
}

void FindObjectsWindow::Layout() {
  RECT client;
  GetClientRect(window_, &client);
  const auto S = [this](int length) { return Scaled(length, dpi_); };
  const int margin = S(kFindMargin), line = S(kFindLineHeight), edit = S(kFindEditHeight);
  const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);
  int y = margin;
  MoveWindow(prompt_, margin, y, width, line, TRUE);
  y += line;
  MoveWindow(edit_, margin, y, width, edit, TRUE);
  y += edit + margin;
  const int countTop = std::max(y, static_cast<int>(client.bottom) - margin - line);
  MoveWindow(list_, margin, y, width, std::max(0, countTop - margin / 2 - y), TRUE);
  MoveWindow(count_, margin, countTop, width, line, TRUE);
}

void FindObjectsWindow::Show() {
  ShowWindow(window_, SW_SHOW);
  SetActiveWindow(window_);
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void FindObjectsWindow::SearchAgain() {
  if (IsWindowVisible(window_)) Search();
}

void FindObjectsWindow::Search() {
  std::wstring typed(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  typed.resize(static_cast<size_t>(GetWindowTextW(edit_, typed.data(), static_cast<int>(typed.size()))));
  Text count;
  rows_ = hooks_.search(platform::FromWide(typed), &count);
  names_.clear();
  guids_.clear();
  fields_.clear();
  for (const FindRow& row : rows_) {
    names_.push_back(platform::ToWide(row.name));
    guids_.push_back(platform::ToWide(row.guid));
    fields_.push_back(platform::ToWide(row.field));
  }
  ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
  if (!rows_.empty()) ListView_SetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  InvalidateRect(list_, nullptr, TRUE);
  SetWindowTextW(count_, platform::ToWide(count).c_str());
}

void FindObjectsWindow::GoTo(int row) {
  const std::optional<size_t> chosen = row >= 0 ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt;
  const std::optional<size_t> target = FindRowToSelect(chosen, rows_.size());
  if (!target) return;
  // The row is copied: going there may search again.
  const FindRow found = rows_[*target];
  hooks_.go(found);
}

bool FindObjectsWindow::FilterMessage(MSG& msg) {
  if (!window_ || !IsWindowVisible(window_) || !IsChild(window_, msg.hwnd)) return false;
  // Up and down in the text box move through the list.
  if (msg.message == WM_KEYDOWN && msg.hwnd == edit_ && (msg.wParam == VK_DOWN || msg.wParam == VK_UP)) {
    SendMessageW(list_, WM_KEYDOWN, msg.wParam, msg.lParam);
    return true;
  }
  return IsDialogMessageW(window_, &msg) != 0;
}

LRESULT FindObjectsWindow::OnNotify(NMHDR* header) {
  if (header->hwndFrom != list_) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows_.size()) return 0;
      const auto row = static_cast<size_t>(item.iItem);
      if (item.mask & LVIF_TEXT) {
        const std::wstring& text = item.iSubItem == 0 ? names_[row] : item.iSubItem == 1 ? guids_[row] : fields_[row];
        item.pszText = const_cast<wchar_t*>(text.c_str());
      }
      if (item.mask & LVIF_IMAGE) item.iImage = rows_[row].image;
      return 0;
    }
    case LVN_ITEMACTIVATE:  // a double click on a row
      GoTo(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
      return 0;
    default:
      return 0;
  }
}

LRESULT FindObjectsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND const self = window_;
  switch (message) {
    case WM_COMMAND:
      Guarded(ReportError, [&] {
        if (LOWORD(wParam) == kFindIdEdit && HIWORD(wParam) == EN_CHANGE) Search();
        else if (LOWORD(wParam) == IDOK) GoTo(ListView_GetNextItem(list_, -1, LVNI_SELECTED));
        else if (LOWORD(wParam) == IDCANCEL) ShowWindow(window_, SW_HIDE);
      });
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      Guarded(ReportError, [&] { result = OnNotify(reinterpret_cast<NMHDR*>(lParam)); });
      return result;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {Scaled(280, dpi_), Scaled(180, dpi_)};
      return 0;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wParam);
      SetFonts();
      MoveToSuggested(window_, *reinterpret_cast<const RECT*>(lParam));
      Layout();
      return 0;
    case WM_CLOSE:
      ShowWindow(window_, SW_HIDE);
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
