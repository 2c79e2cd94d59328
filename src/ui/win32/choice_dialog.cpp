#include "ui/win32/choice_dialog.h"

#include "platform/win32/wide_text.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_font.h"

namespace brannock::ui {

namespace {

// At 96 dpi (scaled to the dialog's, window_dpi.h).
constexpr int kChoiceWidth = 420;
constexpr int kChoiceHeight = 220;
constexpr int kChoiceMargin = 10;
constexpr int kChoiceButtonWidth = 75;
constexpr int kChoiceButtonHeight = 23;
constexpr int kChoicePromptHeight = 16;
enum : int { kChoiceIdPrompt = 100, kChoiceIdList };

struct Choice {
  HWND prompt = nullptr, list = nullptr, ok = nullptr, cancel = nullptr;
  HFONT font = nullptr;
  UINT dpi = kDesignDpi;
  std::optional<size_t> chosen;
};

// The controls' places and font at the dialog's dpi.
void Place(Choice& choice) {
  const auto S = [&](int length) { return Scaled(length, choice.dpi); };
  const HFONT old = choice.font;
  choice.font = CreateWindowFont(choice.dpi);
  const int width = S(kChoiceWidth), margin = S(kChoiceMargin), button = S(kChoiceButtonWidth);
  const int buttonsTop = S(kChoiceHeight) - margin - S(kChoiceButtonHeight);
  const auto place = [&](HWND control, int left, int top, int right, int bottom) {
    MoveWindow(control, left, top, right - left, bottom - top, TRUE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(choice.font), TRUE);
  };
  place(choice.prompt, margin, margin, width - margin, margin + S(kChoicePromptHeight));
  place(choice.list, margin, margin + S(kChoicePromptHeight + 4), width - margin, buttonsTop - margin);
  place(choice.ok, width - 2 * (margin + button), buttonsTop, width - 2 * margin - button,
        buttonsTop + S(kChoiceButtonHeight));
  place(choice.cancel, width - margin - button, buttonsTop, width - margin, buttonsTop + S(kChoiceButtonHeight));
  if (old) DeleteObject(old);
}

void Take(HWND window, Choice& choice) {
  const LRESULT selected = SendMessageW(choice.list, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) choice.chosen = static_cast<size_t>(selected);
  EndModal(window);
}

LRESULT CALLBACK ChoiceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* choice = reinterpret_cast<Choice*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (choice && message == WM_COMMAND) {
    const WORD id = LOWORD(wParam);
    if (id == IDOK || (id == kChoiceIdList && HIWORD(wParam) == LBN_DBLCLK)) {
      Take(window, *choice);
      return 0;
    }
    if (id == IDCANCEL) {
      EndModal(window);
      return 0;
    }
  }
  if (message == WM_CLOSE) {
    EndModal(window);
    return 0;
  }
  if (choice && message == WM_DPICHANGED && HIWORD(wParam) != choice->dpi) {
    choice->dpi = HIWORD(wParam);
    MoveToSuggested(window, *reinterpret_cast<const RECT*>(lParam));
    Place(*choice);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::optional<size_t> ChooseFromList(HWND owner, TextView caption, TextView prompt, const TextList& items) {
  RegisterWindowClass({.name = kChoiceDialogClass, .procedure = ChoiceProc, .faceBackground = true});
  Choice choice;
  choice.dpi = owner ? WindowDpi(owner) : SystemDpi();
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  const SIZE size = WindowSizeFor(Scaled(kChoiceWidth, choice.dpi), Scaled(kChoiceHeight, choice.dpi), style, false, exStyle,
                                  choice.dpi);
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &area);
  const HWND window = CreateWindowExW(exStyle, kChoiceDialogClass, platform::ToWide(caption).c_str(), style,
                                      area.left + (area.right - area.left - size.cx) / 2,
                                      area.top + (area.bottom - area.top - size.cy) / 2, size.cx, size.cy, owner,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return std::nullopt;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&choice));

  choice.prompt = CreateChildControl(window, L"STATIC", platform::ToWide(prompt).c_str(), SS_LEFT, 0, kChoiceIdPrompt);
  choice.list = CreateChildControl(window, L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                        WS_EX_CLIENTEDGE, kChoiceIdList);
  choice.ok = CreateChildControl(window, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK);
  choice.cancel = CreateChildControl(window, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL);
  Place(choice);
  for (const Text& item : items)
    SendMessageW(choice.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::ToWide(item).c_str()));
  SendMessageW(choice.list, LB_SETCURSEL, 0, 0);
  SetFocus(choice.list);
  // The dialog keys: Tab between the controls, Enter for OK, Esc for Cancel.
  RunModal(owner, window, [window](MSG& msg) { return IsWindow(window) && IsDialogMessageW(window, &msg); });
  DeleteObject(choice.font);
  return choice.chosen;
}

}  // namespace brannock::ui
