// The viewer's text view: a QScintilla editor with the Pascal or IDL colouring, a
// gutter that numbers the lines from 0, the caret line in yellow once the
// window has taken the caret's status, and the plain-text search the viewer
// needs. Positions are the editor's document positions.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <optional>

#include "ui/logic/idl_tokens.h"

class QsciLexer;
class QsciLexerPascal;

namespace brannock::ui {

// Pascal colouring: comments green, numbers blue, strings red, assembler
// fuchsia, every style in `font` (keywords bold), on white.
QsciLexerPascal* CreatePascalLexer(QObject* parent, const QFont& font);

class TViewerEditor : public QsciScintilla {
 public:
  explicit TViewerEditor(QWidget* parent = nullptr);

  int CaretPosition() const;
  int CaretLine() const;    // from 0
  int CaretColumn() const;  // from 0, tabs expanded
  int LineCount() const;
  int TextLength() const;
  int LineOfPosition(int position) const;
  int PositionBefore(int position) const;

  struct Match {
    int start = 0;
    int end = 0;
  };
  struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
  };
  // Searches [from, to) forward, or backwards when `from` > `to`. The
  // search runs over the text as UTF-16 (Scintilla's own case-insensitive
  // search is several times slower on large texts); whole words are
  // bounded by characters other than letters, digits and "_".
  std::optional<Match> Search(const QString& text, int from, int to, SearchOptions options);

  // The declaration line of a type node's text in `language`
  // (FindDeclarationMatch).
  std::optional<Match> FindDeclaration(const std::u16string& nodeText, TUnitLanguage language);

  // The colouring: Object Pascal (when the editor is made) or IDL.
  void SetLanguage(TUnitLanguage language);

  // The word at or just before the caret; empty when there is none.
  QString WordAtCaret() const;

  // One selection from `anchor` to `caret`, scrolled into view.
  void SelectRange(int anchor, int caret);
  // The caret alone at `caret` and, apart from it, the range
  // [selectionStart, selectionEnd) selected (empty ranges are left out).
  void SelectApartFromCaret(int selectionStart, int selectionEnd, int caret);

  // The yellow caret line, which the window switches on with its first
  // status update.
  void ShowCaretLine(bool show);

  // What the gutter shows for a line (0 for the first one).
  static QString GutterText(int line);

  // Called when the caret, the scrolling, the selection, the text or the
  // insert mode changed.
  std::function<void()> OnStatusChange;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QString& DocumentText();
  // Document position <-> UTF-16 index of the text.
  int IndexOfPosition(int position) const;
  int PositionOfIndex(qsizetype index) const;
  void StatusChanged();
  void RemoveKey(int key);
  void FitGutter();

  QsciLexer* pascalLexer_ = nullptr;
  QsciLexer* idlLexer_ = nullptr;
  QFont gutterFont_;
  int gutterDigits_ = 0;
  QString documentText_;
  bool documentTextValid_ = false;
};

}  // namespace brannock::ui
