// The IDL colouring of the viewer's editor: a QScintilla lexer that styles
// each line with the runs of TokenizeIdlLine (ui/logic/idl_tokens.h), one
// style per token class, drawn as PascalTokenStyle says. The state a line
// hands on is kept as Scintilla's line state.
#pragma once

#include <Qsci/qscilexercustom.h>

#include <QFont>

namespace brannock::ui {

class TIdlLexer : public QsciLexerCustom {
 public:
  TIdlLexer(QObject* parent, const QFont& font);

  const char* language() const override { return "IDL"; }
  QString description(int style) const override;
  QColor defaultColor(int style) const override;
  QFont defaultFont(int style) const override;
  QColor defaultPaper(int style) const override;
  void styleText(int start, int end) override;

 private:
  QFont font_;
};

}  // namespace brannock::ui
