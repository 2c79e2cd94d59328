#include "ui/qt/idl_lexer.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <vector>

#include "ui/logic/idl_tokens.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

constexpr int kStyleCount = static_cast<int>(TPascalToken::Attribute) + 1;

// A line's end state as one int of Scintilla's line state, and back.
int PackState(const TIdlLineState& state) {
  return (state.InComment ? 1 : 0) | (std::min<int>(state.Brackets, 0x7FFF) << 1) |
         (std::min<int>(state.Parens, 0x7FFF) << 16);
}

TIdlLineState UnpackState(int packed) {
  return {(packed & 1) != 0, static_cast<uint16_t>((packed >> 1) & 0x7FFF), static_cast<uint16_t>(packed >> 16)};
}

}  // namespace

TIdlLexer::TIdlLexer(QObject* parent, const QFont& font) : QsciLexerCustom(parent), font_(font) {
  setDefaultFont(font_);
  setDefaultPaper(Qt::white);
  for (int style = 0; style < kStyleCount; ++style) {
    setFont(defaultFont(style), style);
    setColor(defaultColor(style), style);
    setPaper(Qt::white, style);
  }
}

QString TIdlLexer::description(int style) const {
  static const char* const kNames[kStyleCount] = {"Blank",  "Identifier", "Keyword", "Comment", "Directive",
                                                  "Number", "String",     "Symbol",  "Asm",     "Attribute"};
  return style >= 0 && style < kStyleCount ? QString::fromLatin1(kNames[style]) : QString();
}

QColor TIdlLexer::defaultColor(int style) const {
  const uint32_t rgb = PascalTokenStyle(static_cast<TPascalToken>(style < kStyleCount ? style : 0)).Colour;
  return QColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

QFont TIdlLexer::defaultFont(int style) const {
  QFont font = font_;
  font.setBold(style < kStyleCount && PascalTokenStyle(static_cast<TPascalToken>(style)).Bold);
  return font;
}

QColor TIdlLexer::defaultPaper(int) const { return Qt::white; }

void TIdlLexer::styleText(int start, int end) {
  QsciScintilla* ed = editor();
  if (!ed || end <= start) return;
  const long first = ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
  const long last = ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end - 1));
  TIdlLineState state;
  if (first > 0) state = UnpackState(static_cast<int>(ed->SendScintilla(QsciScintilla::SCI_GETLINESTATE, first - 1)));
  startStyling(static_cast<int>(ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, first)));
  std::vector<TTokenRun> runs;
  for (long line = first; line <= last; ++line) {
    const long lineStart = ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line);
    const long nextStart = ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line + 1);
    const long lineEnd = ed->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, line);
    const QString text = ed->text(static_cast<int>(line)).left(static_cast<qsizetype>(lineEnd - lineStart));
    state = TokenizeIdlLine(FromQt(text), state, &runs);
    // Runs count UTF-16 code units; Scintilla styles UTF-8 bytes.
    long styled = 0;
    for (const TTokenRun& run : runs) {
      const auto bytes = static_cast<int>(text.mid(run.Start, run.Length).toUtf8().size());
      setStyling(bytes, static_cast<int>(run.Token));
      styled += bytes;
    }
    const long rest = (nextStart > lineStart ? nextStart : lineEnd) - lineStart - styled;
    if (rest > 0) setStyling(static_cast<int>(rest), static_cast<int>(TPascalToken::Blank));
    ed->SendScintilla(QsciScintilla::SCI_SETLINESTATE, static_cast<unsigned long>(line), static_cast<long>(PackState(state)));
  }
}

}  // namespace brannock::ui
