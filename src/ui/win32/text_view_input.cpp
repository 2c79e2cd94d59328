// The text view's messages: keys, characters, the mouse, scrolling, focus,
// the clipboard and the edit control's text messages.
#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/win32/text_view.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui {

namespace {

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool PutOnClipboard(HWND owner, const Text& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool done = false;
  if (memory) {
    if (void* data = GlobalLock(memory)) {
      std::copy_n(text.c_str(), text.size() + 1, static_cast<char16_t*>(data));
      GlobalUnlock(memory);
      done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!done) GlobalFree(memory);
  }
  CloseClipboard();
  return done;
}

std::optional<Text> ClipboardText(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return std::nullopt;
  std::optional<Text> text;
  if (const HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* data = static_cast<const wchar_t*>(GlobalLock(memory))) {
      const size_t limit = GlobalSize(memory) / sizeof(wchar_t);
      size_t n = 0;
      while (n < limit && data[n] != L'\0') ++n;
      text = platform::FromWide(data, n);
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

void TTextView::Copy() {
  if (document_.HasSelection()) PutOnClipboard(window_, document_.SelectedText());
}

void TTextView::Cut() {
  if (!document_.HasSelection() || !PutOnClipboard(window_, document_.SelectedText())) return;
  document_.Insert(u"");
  EditDone();
}

void TTextView::Paste() {
  if (const std::optional<Text> text = ClipboardText(window_)) {
    document_.Insert(*text);
    EditDone();
  }
}

void TTextView::Undo() {
  if (document_.Undo()) EditDone();
}

void TTextView::KeyDown(WPARAM key) {
  const bool shift = KeyHeld(VK_SHIFT);
  const bool ctrl = KeyHeld(VK_CONTROL);
  const auto move = [&](TCaretMove how) {
    document_.Move(how, shift, VisibleLines());
    CaretMoved();
  };
  switch (key) {
    case VK_LEFT: return move(ctrl ? TCaretMove::WordLeft : TCaretMove::Left);
    case VK_RIGHT: return move(ctrl ? TCaretMove::WordRight : TCaretMove::Right);
    case VK_UP:
      if (ctrl) return SetFirstVisibleLine(firstLine_ - 1);
      return move(TCaretMove::Up);
    case VK_DOWN:
      if (ctrl) return SetFirstVisibleLine(firstLine_ + 1);
      return move(TCaretMove::Down);
    case VK_HOME: return move(ctrl ? TCaretMove::TextStart : TCaretMove::LineStart);
    case VK_END: return move(ctrl ? TCaretMove::TextEnd : TCaretMove::LineEnd);
    case VK_PRIOR:
      SetFirstVisibleLine(firstLine_ - VisibleLines());
      return move(TCaretMove::PageUp);
    case VK_NEXT:
      SetFirstVisibleLine(firstLine_ + VisibleLines());
      return move(TCaretMove::PageDown);
    case VK_DELETE:
      if (shift && !ctrl) return Cut();
      document_.DeleteForward();
      return EditDone();
    case VK_INSERT:
      if (ctrl) return Copy();
      if (shift) return Paste();
      return;
    default:
      break;
  }
  if (!ctrl) return;
  switch (key) {
    case 'A':
      document_.SelectAll();
      return CaretMoved();
    case 'C': return Copy();
    case 'X': return Cut();
    case 'V': return Paste();
    case 'Z': return Undo();
    default: return;
  }
}

void TTextView::Char(wchar_t c) {
  if (c == L'\r') {
    // Shift+Enter breaks no line.
    if (KeyHeld(VK_SHIFT)) return;
    document_.Insert(u"\r\n");
  } else if (c == L'\b') {
    document_.DeleteBack();
  } else if (c == L'\t' || c >= 0x20) {
    if (c == 0x7F) return;  // Ctrl+Backspace
    const char16_t text[2] = {static_cast<char16_t>(c), 0};
    document_.Insert(text);
  } else {
    return;  // Ctrl+letters arrive here too; KeyDown ran them
  }
  EditDone();
}

void TTextView::MouseDown(LPARAM lParam, bool extend) {
  SetFocus(window_);
  const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  document_.SetCaret(PosAt(point), extend);
  selecting_ = true;
  SetCapture(window_);
  CaretMoved();
}

void TTextView::Scroll(int bar, WPARAM wParam) {
  ShowScrollBars();
  SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window_, bar, &si);
  int64_t pos = si.nPos;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= si.nPage; break;
    case SB_PAGEDOWN: pos += si.nPage; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  if (bar == SB_VERT) return SetFirstVisibleLine(std::clamp<int64_t>(pos, 0, std::max<int64_t>(0, si.nMax - si.nPage + 1)));
  firstColumn_ = std::clamp<int64_t>(pos, 0, si.nMax);
  UpdateScrollBars();
  PlaceCaret();
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT TTextView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBars();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_SETFOCUS:
      hasFocus_ = true;
      CreateCaret(window_, nullptr, Scaled(2, dpi_), LineHeight());
      PlaceCaret();
      ShowCaret(window_);
      return 0;
    case WM_KILLFOCUS:
      hasFocus_ = false;
      DestroyCaret();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_F1) return 0;  // no context help
      KeyDown(wParam);
      return 0;
    case WM_CHAR:
      Char(static_cast<wchar_t>(wParam));
      return 0;
    case WM_HELP:
      return TRUE;
    case WM_LBUTTONDOWN:
      MouseDown(lParam, (wParam & MK_SHIFT) != 0);
      return 0;
    case WM_LBUTTONDBLCLK: {
      const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const TTextPos at = PosAt(point);
      const Text& line = document_.Line(at.Line);
      int64_t start = at.Column, end = at.Column;
      while (start > 0 && IsWordCharacter(line[static_cast<size_t>(start - 1)])) --start;
      while (end < static_cast<int64_t>(line.size()) && IsWordCharacter(line[static_cast<size_t>(end)])) ++end;
      document_.Select({at.Line, start}, {at.Line, end});
      CaretMoved();
      return 0;
    }
    case WM_MOUSEMOVE:
      if (selecting_ && (wParam & MK_LBUTTON)) {
        const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        document_.SetCaret(PosAt(point), true);
        CaretMoved();
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (selecting_) {
        selecting_ = false;
        if (message == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    case WM_MOUSEWHEEL: {
      wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = wheelDelta_ / WHEEL_DELTA;
      wheelDelta_ -= notches * WHEEL_DELTA;
      SetFirstVisibleLine(firstLine_ - 3 * notches);
      return 0;
    }
    case WM_VSCROLL:
      Scroll(SB_VERT, wParam);
      return 0;
    case WM_HSCROLL:
      Scroll(SB_HORZ, wParam);
      return 0;
    case WM_COPY:
      Copy();
      return 0;
    case WM_CUT:
      Cut();
      return 0;
    case WM_PASTE:
      Paste();
      return 0;
    case WM_UNDO:
      Undo();
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(document_.TextLength());
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      const Text text = document_.WholeText();
      const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(wParam) - 1);
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      std::copy_n(text.data(), n, buffer);
      buffer[n] = u'\0';
      return static_cast<LRESULT>(n);
    }
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace brannock::ui
