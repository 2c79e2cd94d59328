// The viewer's text view: a window class of its own that keeps the text as
// lines and paints only the visible ones (gutter numbers from 0, the yellow
// caret line, the selection, the Pascal colours), scrolls by lines and is
// editable (typing, Delete, Enter, mouse and key selection, Ctrl+C/X/V/A
// through the clipboard, Ctrl+Z for recent edits; Shift+Enter and F1 do
// nothing). Like an edit control it answers WM_GETTEXTLENGTH and WM_GETTEXT
// with the whole text, lines ended by CR LF.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "ui/logic/text_colouring.h"
#include "ui/logic/text_document.h"
#include "ui/win32/text_view_paint.h"

namespace brannock::ui {

inline constexpr wchar_t kTextViewClass[] = L"BrannockTextView";

class TTextView {
 public:
  // Creates the window as a child of `parent`.
  static TTextView* Create(HWND parent, int id);
  static TTextView* FromWindow(HWND window);

  HWND Handle() const { return window_; }
  const TTextDocument& Document() const { return document_; }

  // Takes a new text: caret at the start, view at the top, no undo.
  void SetLines(TextList lines);

  int64_t FirstVisibleLine() const { return firstLine_; }
  void SetFirstVisibleLine(int64_t line);
  // Whole lines the window shows.
  int64_t VisibleLines() const;

  // One selection from `anchor` to `caret`, scrolled into view.
  void SelectRange(TTextPos anchor, TTextPos caret);
  // The caret alone at `caret`, and apart from it `marked` drawn as selected
  // until the caret moves (the character in front of a found declaration).
  void SelectApartFromCaret(TTextRange marked, TTextPos caret);
  std::optional<TTextRange> Marked() const { return marked_; }

  // The yellow caret line, switched on by the window's first status update.
  void ShowCaretLine(bool show);
  bool CaretLineShown() const { return caretLineShown_; }

  // Clipboard commands and undo, as their keys run them.
  void Copy();
  void Cut();
  void Paste();
  void Undo();

  // The gutter's width in pixels and the height of a line.
  int GutterWidth() const { return gutterWidth_; }
  int LineHeight() const;
  // The client point of a text position (its line's top), and back.
  POINT PointOf(TTextPos pos) const;
  TTextPos PosAt(POINT point) const;

  // Called after the caret, the selection, the scrolling or the text changed.
  std::function<void()> OnStatusChange;

 private:
  explicit TTextView(HWND window);
  ~TTextView();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void KeyDown(WPARAM key);
  void Char(wchar_t c);
  void MouseDown(LPARAM lParam, bool extend);
  void Scroll(int bar, WPARAM wParam);
  void EditDone();
  void CaretMoved();
  void EnsureCaretVisible();
  void UpdateScrollBars();
  void PlaceCaret();
  void FitGutter();
  int TextLeft() const;

  HWND window_;
  TTextDocument document_;
  TTextColouring colouring_;
  std::unique_ptr<TTextFonts> fonts_;
  std::unique_ptr<TTextFonts> gutterFonts_;
  int64_t firstLine_ = 0;
  int64_t firstColumn_ = 0;
  int gutterWidth_ = 0;
  bool caretLineShown_ = false;
  bool hasFocus_ = false;
  bool selecting_ = false;
  std::optional<TTextRange> marked_;
  int wheelDelta_ = 0;
};

}  // namespace brannock::ui
