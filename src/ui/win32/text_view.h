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
  // Creates the window as a child of `parent`, drawn at `dpi`.
  static TTextView* Create(HWND parent, int id, UINT dpi);
  static TTextView* FromWindow(HWND window);

  HWND Handle() const { return window_; }
  const TTextDocument& Document() const { return document_; }

  // Fonts and margins for another dpi (the window moved to a monitor of
  // another scale).
  void SetDpi(UINT dpi);

  // Takes a new text: caret at the start, view at the top, no undo.
  void SetLines(TextList lines);
  // The colouring of the text: Object Pascal (when the view is made) or IDL.
  void SetLanguage(TUnitLanguage language);
  TUnitLanguage Language() const { return colouring_.Language(); }

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
  // Between the two, the changes are told once, at the end (a jump that
  // moves the caret and the view in several steps).
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

 private:
  TTextView(HWND window, UINT dpi);
  void MakeFonts();
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
  // The scroll bars follow the view: their ranges and positions are set at
  // the next paint (drawing a scroll bar costs as much as a paint of lines).
  void UpdateScrollBars();
  void ShowScrollBars();
  void NotifyStatus();
  void PlaceCaret();
  void FitGutter();
  int TextLeft() const;
  // Makes `line` the first visible line, moving the pixels that stay in
  // view instead of painting them again.
  void ScrollToLine(int64_t line);
  // Repaints the lines whose look the caret or the selection gave or gives
  // (the yellow caret line, selected and marked characters).
  void RefreshCaretLines();
  void InvalidateLines(int64_t from, int64_t to);
  // The off-screen bitmap of the paint, kept while the size stays.
  HDC BackBuffer(HDC screen, int width, int height);

  HWND window_;
  UINT dpi_;
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
  // The lines the caret line, the selection and the marked range covered
  // when they were last drawn.
  int64_t shownFrom_ = 0;
  int64_t shownTo_ = -1;
  int updating_ = 0;
  bool statusChanged_ = false;
  struct TBar {
    int Max = -1;
    int Page = 0;
    int Pos = -1;
    friend bool operator==(const TBar&, const TBar&) = default;
  };
  TBar wantedBars_[2];
  TBar shownBars_[2];
  HDC backDc_ = nullptr;
  HBITMAP backBitmap_ = nullptr;
  HGDIOBJ backOld_ = nullptr;
  SIZE backSize_ = {};
};

}  // namespace brannock::ui
