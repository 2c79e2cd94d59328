// The stand-in type library viewer: the rendered declaration unit in a
// read-only edit control, shown modally over the main window.
#include "platform/messages.h"
#include "platform/win32/wide_text.h"
#include "typelib/object_typelib.h"
#include "typelib/unit_text.h"
#include "ui/logic/viewer_status.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/viewer_hook.h"

namespace brannock::ui {

namespace {

constexpr int kTextId = 1;

LRESULT CALLBACK PlainUnitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      MoveWindow(GetDlgItem(window, kTextId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(GetDlgItem(window, kTextId));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void RegisterPlainUnitClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PlainUnitProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kPlainUnitWindowClass;
  registered = RegisterClassExW(&wc) != 0;
}

std::wstring WithCrLf(const TextList& lines) {
  std::wstring text;
  for (const Text& line : lines) {
    text.append(line.begin(), line.end());
    text += L"\r\n";
  }
  return text;
}

}  // namespace

void ShowPlainUnitWindow(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader) {
  std::shared_ptr<typelib::TypeLib> lib;
  TextList lines;
  {
    WaitCursor cursor;
    const typelib::HRESULT hr = typelib::LoadObjectTypeLib(record, loader, &lib);
    if (typelib::Failed(hr) || !lib) {
      cursor.Restore();
      ShowErrorBox(platform::ErrorCodeText(static_cast<uint32_t>(typelib::Failed(hr) ? hr : typelib::Code::Fail)));
      return;
    }
    typelib::TypeLibToStrings(record, *lib, &lines);
  }
  RegisterPlainUnitClass();
  HWND window = CreateWindowExW(0, kPlainUnitWindowClass, platform::ToWide(kViewerCaption).c_str(),
                                WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) return;
  HWND text = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                  ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                              0, 0, 0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
  SendMessageW(text, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(text, WithCrLf(lines).c_str());
  RECT client;
  GetClientRect(window, &client);
  MoveWindow(text, 0, 0, client.right, client.bottom, FALSE);
  RunModal(owner, window);
}

}  // namespace brannock::ui
