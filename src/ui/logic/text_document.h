// The editable text of the viewer's own text view: the lines, the caret and
// the selection, editing with an undo list of recent edits, movement,
// plain-text search and the text as a whole with CR LF line ends. Kept free
// of any window so that the window class only turns messages into calls.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "common/text.h"

namespace brannock::ui {

// A place between characters: a line counted from 0 and a column in UTF-16
// code units from the line's start.
struct TTextPos {
  int64_t Line = 0;
  int64_t Column = 0;
  friend auto operator<=>(const TTextPos&, const TTextPos&) = default;
};

struct TTextRange {
  TTextPos Start;
  TTextPos End;
  friend bool operator==(const TTextRange&, const TTextRange&) = default;
};

enum class TCaretMove { Left, Right, WordLeft, WordRight, Up, Down, LineStart, LineEnd, PageUp, PageDown,
                        TextStart, TextEnd };

struct TFindOptions {
  bool Forward = true;
  bool MatchCase = false;
  bool WholeWord = false;
};

class TTextDocument {
 public:
  TTextDocument();

  // Takes new lines; the caret goes to the start, the undo list is emptied.
  void SetLines(TextList lines);
  int64_t LineCount() const { return static_cast<int64_t>(lines_.size()); }
  const Text& Line(int64_t line) const { return lines_[static_cast<size_t>(line)]; }

  // The whole text with CR LF between lines, and its length in characters.
  Text WholeText() const;
  int64_t TextLength() const;
  // Character positions through the whole text, each line break counting
  // two (CR LF).
  int64_t Offset(TTextPos pos) const;
  TTextPos PosOfOffset(int64_t offset) const;
  TTextPos Clamp(TTextPos pos) const;

  TTextPos Caret() const { return caret_; }
  TTextPos Anchor() const { return anchor_; }
  bool HasSelection() const { return caret_ != anchor_; }
  TTextRange Selection() const;
  Text SelectedText() const;
  // Caret and anchor; both are clamped to the text.
  void Select(TTextPos anchor, TTextPos caret);
  void SetCaret(TTextPos pos, bool extend);
  void SelectAll();
  void Move(TCaretMove move, bool extend, int64_t pageLines = 1);
  // The caret's column with tabs expanded to `tabWidth`, from 0.
  int64_t DisplayColumn(TTextPos pos, int tabWidth) const;

  // Replaces the selection with `text` (CR LF, CR or LF break lines); the
  // caret ends behind it.
  void Insert(TextView text);
  // Removes the selection, else the character (or line break) before or
  // after the caret.
  void DeleteBack();
  void DeleteForward();
  // Takes back the most recent edit; false when there is none left. Typing
  // in one run counts as one edit; the list keeps the latest kUndoDepth.
  bool Undo();
  bool CanUndo() const { return !undo_.empty(); }
  static constexpr size_t kUndoDepth = 200;

  // The first line an edit touched since the last call, and clears it;
  // nothing when the text is unchanged. Colouring starts anew from there.
  std::optional<int64_t> TakeFirstChangedLine();

  // The first match of `text` from `from` in the options' direction, not
  // crossing line ends; the search does not wrap around.
  std::optional<TTextRange> Find(TextView text, TTextPos from, const TFindOptions& options) const;
  // The word at or just before `pos`; empty when there is none.
  Text WordAt(TTextPos pos) const;

 private:
  struct Edit {
    TTextPos At;
    Text Removed;
    Text Inserted;
    TTextPos CaretBefore;
    TTextPos AnchorBefore;
  };
  // Replaces [from, to) by `text` and returns the end of the inserted text.
  TTextPos Replace(TTextPos from, TTextPos to, TextView text);
  Text TextOf(TTextPos from, TTextPos to) const;
  // The selection, else what lies between the caret and where `move` takes it.
  void DeleteTowards(TCaretMove move);
  void Record(Edit edit, bool typing);
  void Changed(int64_t line);
  const std::vector<int64_t>& LineStarts() const;

  TextList lines_;
  TTextPos caret_;
  TTextPos anchor_;
  int64_t preferredColumn_ = -1;
  std::deque<Edit> undo_;
  bool lastWasTyping_ = false;
  std::optional<int64_t> firstChanged_;
  mutable std::vector<int64_t> starts_;
  mutable size_t startsValid_ = 0;
};

// Letters, digits and "_" make words; every other character ends one.
bool IsWordCharacter(char16_t c);

}  // namespace brannock::ui
