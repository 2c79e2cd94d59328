// The shared Pascal tokens against the Qt viewer's QScintilla colouring:
// every character that is not white space gets the same class, colour and
// weight from both, so that the two front ends colour a unit alike.
#include <Qsci/qscilexerpascal.h>
#include <gtest/gtest.h>

#include <QStringList>

#include "ui/logic/pascal_tokens.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/viewer_editor.h"

namespace brannock::ui {
namespace {

using Sci = QsciScintillaBase;

TPascalToken TokenOfStyle(int style) {
  switch (style) {
    case QsciLexerPascal::Identifier: return TPascalToken::Identifier;
    case QsciLexerPascal::Comment:
    case QsciLexerPascal::CommentParenthesis:
    case QsciLexerPascal::CommentLine: return TPascalToken::Comment;
    case QsciLexerPascal::PreProcessor:
    case QsciLexerPascal::PreProcessorParenthesis: return TPascalToken::Directive;
    case QsciLexerPascal::Number:
    case QsciLexerPascal::HexNumber: return TPascalToken::Number;
    case QsciLexerPascal::Keyword: return TPascalToken::Keyword;
    case QsciLexerPascal::SingleQuotedString:
    case QsciLexerPascal::UnclosedString:
    case QsciLexerPascal::Character: return TPascalToken::String;
    case QsciLexerPascal::Operator: return TPascalToken::Symbol;
    case QsciLexerPascal::Asm: return TPascalToken::Asm;
    default: return TPascalToken::Blank;
  }
}

TEST(PascalColouring, SharedTokensMatchTheQtViewer) {
  const QStringList lines = {
      QStringLiteral("// typelib filename: render_demo.tlb"),
      QStringLiteral("unit RenderDemo;"),
      QStringLiteral("uses Windows, ActiveX, Classes;"),
      QStringLiteral("const"),
      QStringLiteral("  Blue = -5;"),
      QStringLiteral("  Big = $7FFFFFFF; Half = 1.5e3; Cr = #13;"),
      QStringLiteral("  Point = record"),
      QStringLiteral("    tag: array[0..15] of Byte;"),
      QStringLiteral("  IShapeDisp = dispinterface"),
      QStringLiteral("     ['{8A3C1F00-0000-4000-8000-000000000003}']"),
      QStringLiteral("    procedure Move(const dx: LongInt; const optional text: WideString = 'a''bc'); dispid 3;"),
      QStringLiteral("    property Name: WideString read Get_Name write Set_Name;"),
      QStringLiteral("    function Read(index: Integer): Variant; { open"),
      QStringLiteral("    comment } (* another"),
      QStringLiteral("    one *) {$R x.res} x := 'open"),
      QStringLiteral("  end;"),
  };
  TViewerEditor editor;
  editor.setText(lines.join(QLatin1Char('\n')));
  editor.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
  auto* lexer = static_cast<QsciLexerPascal*>(editor.lexer());

  TPascalLineState state;
  std::vector<TTokenRun> runs;
  for (int l = 0; l < lines.size(); ++l) {
    state = TokenizePascalLine(FromQt(lines[l]), state, &runs);
    const long lineStart = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(l));
    for (const TTokenRun& run : runs) {
      for (uint32_t i = run.Start; i < run.Start + run.Length; ++i) {
        if (lines[l][i].isSpace()) continue;
        const int style = static_cast<int>(
            editor.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(lineStart + i)));
        SCOPED_TRACE(lines[l].toStdString() + " at " + std::to_string(i));
        EXPECT_EQ(run.Token, TokenOfStyle(style));
        const TTokenStyle shared = PascalTokenStyle(run.Token);
        const QColor qt = lexer->color(style);
        EXPECT_EQ(shared.Colour, static_cast<uint32_t>(qt.rgb() & 0xFFFFFF));
        EXPECT_EQ(shared.Bold, lexer->font(style).bold());
      }
    }
  }
}

}  // namespace
}  // namespace brannock::ui
