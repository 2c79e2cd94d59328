#include "ui/qt/viewer_editor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexerpascal.h>

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/logic/viewer_search.h"
#include "ui/logic/viewer_status.h"
#include "ui/qt/idl_lexer.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

const QColor kCaretLineColour(255, 255, 0);
const QColor kGutterColour(228, 228, 228);
constexpr int kGutterPadding = 6;

QFont EditorFont(const char* family, int points) {
  QFont font(QString::fromLatin1(family), points);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

}  // namespace

QsciLexerPascal* CreatePascalLexer(QObject* parent, const QFont& font) {
  auto* lexer = new QsciLexerPascal(parent);
  lexer->setDefaultFont(font);
  lexer->setFont(font, -1);
  QFont bold = font;
  bold.setBold(true);
  lexer->setFont(bold, QsciLexerPascal::Keyword);
  lexer->setDefaultPaper(Qt::white);
  lexer->setPaper(Qt::white, -1);
  for (int style : {QsciLexerPascal::Comment, QsciLexerPascal::CommentParenthesis, QsciLexerPascal::CommentLine})
    lexer->setColor(QColor(0, 128, 0), style);
  for (int style : {QsciLexerPascal::Number, QsciLexerPascal::HexNumber}) lexer->setColor(QColor(0, 0, 255), style);
  for (int style : {QsciLexerPascal::SingleQuotedString, QsciLexerPascal::UnclosedString, QsciLexerPascal::Character})
    lexer->setColor(QColor(255, 0, 0), style);
  lexer->setColor(QColor(255, 0, 255), QsciLexerPascal::Asm);
  return lexer;
}

TViewerEditor::TViewerEditor(QWidget* parent)
    : QsciScintilla(parent), gutterFont_(EditorFont("Terminal", 8)) {
  setUtf8(true);
  pascalLexer_ = CreatePascalLexer(this, EditorFont("Courier New", 10));
  idlLexer_ = new TIdlLexer(this, EditorFont("Courier New", 10));
  setLexer(pascalLexer_);
  setWrapMode(WrapNone);
  // Colouring runs ahead in idle time, so that jumping far into a long text
  // finds it styled already.
  SendScintilla(SCI_SETIDLESTYLING, static_cast<unsigned long>(SC_IDLESTYLING_ALL));
  SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, static_cast<unsigned long>(SC_LINECHARACTERINDEX_UTF16));
  setFolding(NoFoldStyle);

  // The gutter: one plain margin whose numbers paintEvent draws.
  setMarginType(0, SymbolMarginColor);
  setMarginBackgroundColor(0, kGutterColour);
  setMarginSensitivity(0, false);
  setMarginWidth(1, 0);
  setMarginWidth(2, 0);
  FitGutter();

  setCaretLineBackgroundColor(kCaretLineColour);
  SendScintilla(SCI_SETCARETLINEVISIBLEALWAYS, 1L);
  setCaretLineVisible(false);

  // Shift+Enter breaks no line and F1 asks for no help; Esc belongs to the
  // window's Exit command.
  RemoveKey(static_cast<int>(Qt::SHIFT) | Qt::Key_Return);
  RemoveKey(static_cast<int>(Qt::SHIFT) | Qt::Key_Enter);
  RemoveKey(Qt::Key_F1);
  RemoveKey(Qt::Key_Escape);

  // The additional selection of a declaration jump looks like the main one.
  SendScintilla(SCI_SETADDITIONALCARETSVISIBLE, 0L);
  SendScintilla(SCI_SETADDITIONALSELALPHA, SendScintilla(SCI_GETSELALPHA));
  SendScintilla(SCI_SETADDITIONALSELBACK, QColor(palette().color(QPalette::Highlight)));

  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { StatusChanged(); });
  connect(this, &QsciScintilla::cursorPositionChanged, this, [this](int, int) { StatusChanged(); });
  connect(this, &QsciScintilla::selectionChanged, this, [this] { StatusChanged(); });
  connect(this, &QsciScintilla::textChanged, this, [this] {
    documentTextValid_ = false;
    FitGutter();
    StatusChanged();
  });
}

void TViewerEditor::StatusChanged() {
  if (OnStatusChange) OnStatusChange();
}

void TViewerEditor::RemoveKey(int key) {
  QsciCommand* command = standardCommands()->boundTo(key);
  if (!command) return;
  if (command->key() == key) command->setKey(0);
  if (command->alternateKey() == key) command->setAlternateKey(0);
}

int TViewerEditor::CaretPosition() const { return static_cast<int>(SendScintilla(SCI_GETCURRENTPOS)); }

int TViewerEditor::CaretLine() const { return LineOfPosition(CaretPosition()); }

int TViewerEditor::CaretColumn() const {
  return static_cast<int>(SendScintilla(SCI_GETCOLUMN, static_cast<unsigned long>(CaretPosition())));
}

int TViewerEditor::LineCount() const { return static_cast<int>(SendScintilla(SCI_GETLINECOUNT)); }

int TViewerEditor::TextLength() const { return static_cast<int>(SendScintilla(SCI_GETLENGTH)); }

int TViewerEditor::LineOfPosition(int position) const {
  return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
}

int TViewerEditor::PositionBefore(int position) const {
  return static_cast<int>(SendScintilla(SCI_POSITIONBEFORE, static_cast<unsigned long>(position)));
}

const QString& TViewerEditor::DocumentText() {
  if (!documentTextValid_) {
    documentText_ = text();
    documentTextValid_ = true;
  }
  return documentText_;
}

int TViewerEditor::IndexOfPosition(int position) const {
  const auto line = static_cast<unsigned long>(LineOfPosition(position));
  const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
  return static_cast<int>(
      SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, static_cast<long>(SC_LINECHARACTERINDEX_UTF16)) +
      SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), static_cast<long>(position)));
}

int TViewerEditor::PositionOfIndex(qsizetype index) const {
  const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(index),
                                  static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
  const long lineIndex = SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                       static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
  const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  return static_cast<int>(SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart),
                                        static_cast<long>(index - lineIndex)));
}

namespace {

bool IsWordChar(const QString& text, qsizetype i) {
  if (i < 0 || i >= text.size()) return false;
  const QChar c = text[i];
  return c.isLetterOrNumber() || c == QLatin1Char('_') || c.isSurrogate();
}

}  // namespace

void TViewerEditor::SetLanguage(TUnitLanguage language) {
  QsciLexer* wanted = language == TUnitLanguage::Idl ? idlLexer_ : pascalLexer_;
  if (lexer() != wanted) setLexer(wanted);
}

std::optional<TViewerEditor::Match> TViewerEditor::FindDeclaration(const std::u16string& nodeText,
                                                                   TUnitLanguage language) {
  const QString& document = DocumentText();
  const std::u16string_view text(reinterpret_cast<const char16_t*>(document.utf16()),
                                 static_cast<size_t>(document.size()));
  const std::optional<TTextMatch> at = FindDeclarationMatch(text, nodeText, language);
  if (!at) return std::nullopt;
  const auto start = static_cast<qsizetype>(at->Start);
  return Match{PositionOfIndex(start), PositionOfIndex(start + static_cast<qsizetype>(at->Length))};
}

std::optional<TViewerEditor::Match> TViewerEditor::Search(const QString& text, int from, int to,
                                                          SearchOptions options) {
  if (text.isEmpty()) return std::nullopt;
  const QString& document = DocumentText();
  const Qt::CaseSensitivity sensitivity = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const qsizetype length = text.size();
  auto accepted = [&](qsizetype i) {
    return !options.wholeWord || (!IsWordChar(document, i - 1) && !IsWordChar(document, i + length));
  };
  auto match = [&](qsizetype i) { return Match{PositionOfIndex(i), PositionOfIndex(i + length)}; };
  const qsizetype fromIndex = IndexOfPosition(from);
  const qsizetype toIndex = IndexOfPosition(to);
  if (from <= to) {
    for (qsizetype i = document.indexOf(text, fromIndex, sensitivity); i >= 0 && i + length <= toIndex;
         i = document.indexOf(text, i + 1, sensitivity))
      if (accepted(i)) return match(i);
  } else {
    for (qsizetype start = fromIndex - length; start >= toIndex; start = start - 1) {
      const qsizetype i = document.lastIndexOf(text, start, sensitivity);
      if (i < toIndex) break;
      if (accepted(i)) return match(i);
      start = i;
    }
  }
  return std::nullopt;
}

QString TViewerEditor::WordAtCaret() const {
  const auto caret = static_cast<unsigned long>(CaretPosition());
  const long start = SendScintilla(SCI_WORDSTARTPOSITION, caret, 1L);
  const long end = SendScintilla(SCI_WORDENDPOSITION, caret, 1L);
  if (end <= start) return {};
  return text(static_cast<int>(start), static_cast<int>(end));
}

void TViewerEditor::SelectRange(int anchor, int caret) {
  SendScintilla(SCI_SETSELECTION, static_cast<unsigned long>(caret), static_cast<long>(anchor));
  SendScintilla(SCI_SCROLLRANGE, static_cast<unsigned long>(anchor), static_cast<long>(caret));
  StatusChanged();
}

void TViewerEditor::SelectApartFromCaret(int selectionStart, int selectionEnd, int caret) {
  SendScintilla(SCI_SETSELECTION, static_cast<unsigned long>(caret), static_cast<long>(caret));
  if (selectionEnd > selectionStart) {
    SendScintilla(SCI_ADDSELECTION, static_cast<unsigned long>(selectionEnd), static_cast<long>(selectionStart));
    SendScintilla(SCI_SETMAINSELECTION, 0UL);
  }
  StatusChanged();
}

void TViewerEditor::ShowCaretLine(bool show) {
  if (show != (SendScintilla(SCI_GETCARETLINEVISIBLE) != 0)) setCaretLineVisible(show);
}

QString TViewerEditor::GutterText(int line) { return ToQt(GutterLineText(line)); }

void TViewerEditor::FitGutter() {
  const int digits = static_cast<int>(GutterText(std::max(0, LineCount() - 1)).size());
  if (digits == gutterDigits_) return;
  gutterDigits_ = digits;
  const QFontMetrics metrics(gutterFont_);
  setMarginWidth(0, metrics.horizontalAdvance(QString(std::max(digits, 2), QLatin1Char('9'))) + 2 * kGutterPadding);
}

void TViewerEditor::paintEvent(QPaintEvent* event) {
  QsciScintilla::paintEvent(event);
  const int width = marginWidth(0);
  if (width <= 0) return;
  QPainter painter(viewport());
  painter.setFont(gutterFont_);
  painter.setPen(Qt::black);
  const int lineHeight = std::max(1, static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL)));
  const int firstVisible = static_cast<int>(SendScintilla(SCI_GETFIRSTVISIBLELINE));
  const int lines = LineCount();
  for (int row = 0; row * lineHeight < viewport()->height(); ++row) {
    // Neither folding nor wrapping: visible lines are the document's lines.
    const int line = firstVisible + row;
    if (line >= lines) break;
    painter.drawText(QRect(0, row * lineHeight, width - kGutterPadding, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                     GutterText(line));
  }
}

}  // namespace brannock::ui
