// Whether a control's text fits the control, measured with the control's
// own font (WM_GETFONT) in the control's own device context: what a user
// at 125-150 % display scaling sees cut when the fonts grow and the
// controls do not.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui::testing {

// The size of `text` drawn with the font of `control` (`fontOf`, when
// given, lends its font instead): on one line, or broken at `wrapWidth`.
inline SIZE DrawnSize(HWND control, const std::wstring& text, int wrapWidth = 0, HWND fontOf = nullptr) {
  const HDC dc = GetDC(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(fontOf ? fontOf : control, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right - r.left, std::max<LONG>(r.bottom - r.top, metrics.tmHeight)};
}

inline std::wstring ControlText(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline std::string Described(HWND control, const std::wstring& text, SIZE drawn, RECT room) {
  return "\"" + Utf16ToUtf8(platform::FromWide(text)) + "\" is " + std::to_string(drawn.cx) + "x" +
         std::to_string(drawn.cy) + ", its room " + std::to_string(room.right - room.left) + "x" +
         std::to_string(room.bottom - room.top) + " (control " + std::to_string(reinterpret_cast<uintptr_t>(control)) +
         ")";
}

// A push button's caption inside its edges (three pixels a side at 96 dpi).
inline void ExpectButtonTextFits(HWND button, UINT dpi) {
  const std::wstring text = ControlText(button);
  RECT room;
  GetClientRect(button, &room);
  InflateRect(&room, -Scaled(3, dpi), -Scaled(2, dpi));
  const SIZE drawn = DrawnSize(button, text);
  EXPECT_TRUE(drawn.cx <= room.right - room.left && drawn.cy <= room.bottom - room.top)
      << Described(button, text, drawn, room);
}

// A one-line edit field: its text's height, and `text` (its text when
// empty) within its margins.
inline void ExpectFieldTextFits(HWND field, std::wstring text = {}) {
  if (text.empty()) text = ControlText(field);
  RECT room;
  GetClientRect(field, &room);
  const LRESULT margins = SendMessageW(field, EM_GETMARGINS, 0, 0);
  room.left += LOWORD(margins);
  room.right -= HIWORD(margins);
  const SIZE drawn = DrawnSize(field, text);
  EXPECT_TRUE(drawn.cx <= room.right - room.left && drawn.cy <= room.bottom - room.top)
      << Described(field, text, drawn, room);
}

// A label's text broken into lines at its width, within its height.
inline void ExpectLabelTextFits(HWND label) {
  const std::wstring text = ControlText(label);
  RECT room;
  GetClientRect(label, &room);
  const SIZE drawn = DrawnSize(label, text, room.right - room.left);
  EXPECT_TRUE(drawn.cx <= room.right - room.left && drawn.cy <= room.bottom - room.top)
      << Described(label, text, drawn, room);
}

// `text` in panel `part` of a status bar, inside the bar's borders.
inline void ExpectPanelTextFits(HWND statusBar, int part, const std::wstring& text) {
  RECT room{};
  SendMessageW(statusBar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&room));
  int borders[3] = {};
  SendMessageW(statusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  InflateRect(&room, -borders[2], -borders[1]);
  const SIZE drawn = DrawnSize(statusBar, text);
  EXPECT_TRUE(drawn.cx <= room.right - room.left && drawn.cy <= room.bottom - room.top)
      << Described(statusBar, text, drawn, room);
}

// The lines of a tree view are as high as its font's text.
inline void ExpectTreeLinesFit(HWND tree) {
  const SIZE drawn = DrawnSize(tree, L"Object Classes");
  EXPECT_GE(TreeView_GetItemHeight(tree), drawn.cy) << "tree " << reinterpret_cast<uintptr_t>(tree);
}

// The dpi the window tests expect: BRANNOCK_EXPECT_DPI (the 144-dpi prefix
// of scripts/wine-dpi-stage.sh), 0 for whatever the prefix has.
inline UINT ExpectedDpi() {
  const char* text = std::getenv("BRANNOCK_EXPECT_DPI");
  return text ? static_cast<UINT>(std::atoi(text)) : 0;
}

// The font height a control has (its LOGFONT's).
inline LONG FontHeightOf(HWND control) {
  LOGFONTW logical{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof logical, &logical);
  return logical.lfHeight;
}

}  // namespace brannock::ui::testing
