#include "ui/qt/viewer_editor.h"

#include <gtest/gtest.h>

#include <QImage>

namespace brannock::ui {
namespace {

using Sci = QsciScintillaBase;

QString Found(TViewerEditor& editor, const std::optional<TViewerEditor::Match>& match) {
  if (!match) return QStringLiteral("<none>");
  return editor.text(match->start, match->end);
}

TEST(ViewerEditor, SearchMapsPositionsThroughMultiByteText) {
  TViewerEditor editor;
  editor.setText(QStringLiteral("Grüße über ÜBER\n\u4E2D\u6587 uber_x Über \U0001F600 über"));
  const int end = editor.TextLength();

  // Forward, ignoring case: the first "über" after the umlauts of "Grüße".
  auto match = editor.Search(QStringLiteral("ÜBER"), 0, end, {});
  ASSERT_TRUE(match);
  EXPECT_EQ(Found(editor, match), QStringLiteral("über"));
  EXPECT_EQ(editor.LineOfPosition(match->start), 0);
  // From behind that match the next one, then the one on the next line.
  match = editor.Search(QStringLiteral("über"), match->end, end, {});
  EXPECT_EQ(Found(editor, match), QStringLiteral("ÜBER"));
  match = editor.Search(QStringLiteral("über"), match->end, end, {});
  EXPECT_EQ(Found(editor, match), QStringLiteral("Über"));
  EXPECT_EQ(editor.LineOfPosition(match->start), 1);

  // Match case skips the upper-case ones.
  match = editor.Search(QStringLiteral("über"), editor.positionFromLineIndex(1, 0), end, {true, false});
  EXPECT_EQ(Found(editor, match), QStringLiteral("über"));
  EXPECT_EQ(match->end, end);  // the last word, behind the emoji

  // Backwards from the end: the last match first; the range ends the search.
  match = editor.Search(QStringLiteral("ÜBER"), end, 0, {});
  EXPECT_EQ(match->end, end);
  const int secondLine = editor.positionFromLineIndex(1, 0);
  match = editor.Search(QStringLiteral("ÜBER"), match->start, secondLine, {});
  EXPECT_EQ(Found(editor, match), QStringLiteral("Über"));
  EXPECT_FALSE(editor.Search(QStringLiteral("ÜBER"), match->start, secondLine, {}));
  EXPECT_FALSE(editor.Search(QStringLiteral("Grüße"), 1, end, {}));

  // Whole words: "uber" inside "uber_x" is no word of its own.
  EXPECT_EQ(Found(editor, editor.Search(QStringLiteral("uber"), 0, end, {})), QStringLiteral("uber"));
  EXPECT_FALSE(editor.Search(QStringLiteral("uber"), 0, end, {false, true}));
  EXPECT_EQ(Found(editor, editor.Search(QStringLiteral("uber_x"), 0, end, {false, true})), QStringLiteral("uber_x"));
  EXPECT_FALSE(editor.Search(QStringLiteral("Grü"), 0, end, {false, true}));
  EXPECT_FALSE(editor.Search(QString(), 0, end, {}));

  // The text is searched as it is now, after edits.
  editor.append(QStringLiteral(" neu"));
  EXPECT_TRUE(editor.Search(QStringLiteral("NEU"), 0, editor.TextLength(), {}));
}

TEST(ViewerEditor, SelectionsAndWords) {
  TViewerEditor editor;
  editor.setText(QStringLiteral("type\n  ÄShape = interface"));
  const int lineStart = editor.positionFromLineIndex(1, 0);

  // One character selected apart from the caret.
  editor.SelectApartFromCaret(lineStart + 1, lineStart + 2, lineStart + 12);
  EXPECT_EQ(editor.CaretPosition(), lineStart + 12);
  EXPECT_EQ(editor.SendScintilla(Sci::SCI_GETSELECTIONS), 2);
  EXPECT_EQ(editor.SendScintilla(Sci::SCI_GETSELECTIONNSTART, 1UL), lineStart + 1);
  EXPECT_EQ(editor.SendScintilla(Sci::SCI_GETSELECTIONNEND, 1UL), lineStart + 2);
  EXPECT_EQ(editor.SendScintilla(Sci::SCI_GETSELECTIONNSTART, 0UL), lineStart + 12);
  editor.SelectApartFromCaret(0, 0, 3);
  EXPECT_EQ(editor.SendScintilla(Sci::SCI_GETSELECTIONS), 1);
  EXPECT_FALSE(editor.hasSelectedText());

  // The character before a multi-byte one.
  const int shapeStart = lineStart + 2;
  EXPECT_EQ(editor.PositionBefore(shapeStart + 2), shapeStart);  // Ä takes two bytes

  // Words at the caret, also just behind a word.
  editor.setCursorPosition(1, 4);
  EXPECT_EQ(editor.WordAtCaret(), QStringLiteral("ÄShape"));
  editor.setCursorPosition(1, 8);
  EXPECT_EQ(editor.WordAtCaret(), QStringLiteral("ÄShape"));
  editor.setCursorPosition(1, 9);
  EXPECT_EQ(editor.WordAtCaret(), QString());
  editor.setCursorPosition(0, 0);
  EXPECT_EQ(editor.WordAtCaret(), QStringLiteral("type"));

  // Caret line and column from 0, tabs expanded.
  editor.setText(QStringLiteral("a\tb"));
  editor.setCursorPosition(0, 2);
  EXPECT_EQ(editor.CaretLine(), 0);
  EXPECT_EQ(editor.CaretColumn(), editor.tabWidth());
}

TEST(ViewerEditor, GutterNumbersFromZero) {
  TViewerEditor editor;
  editor.resize(300, 200);
  editor.setText(QStringLiteral("first\nsecond\nthird"));
  EXPECT_EQ(TViewerEditor::GutterText(0), QStringLiteral("0"));
  EXPECT_GT(editor.marginWidth(0), 0);
  EXPECT_EQ(editor.marginWidth(1), 0);
  // Something is drawn in the gutter of the first line, and nothing below
  // the last one.
  editor.show();
  const QImage image = editor.viewport()->grab().toImage();
  const int lineHeight = static_cast<int>(editor.SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
  auto inked = [&](int top, int bottom) {
    const QColor background = image.pixelColor(1, top);
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < editor.marginWidth(0) - 1; ++x)
        if (image.pixelColor(x, y) != background) return true;
    return false;
  };
  EXPECT_TRUE(inked(0, lineHeight));
  EXPECT_TRUE(inked(2 * lineHeight, 3 * lineHeight));
  EXPECT_FALSE(inked(3 * lineHeight, 4 * lineHeight));
  // Wider numbers widen the gutter.
  const int width = editor.marginWidth(0);
  editor.setText(QStringLiteral("x\n").repeated(100000));
  EXPECT_GT(editor.marginWidth(0), width);
}

}  // namespace
}  // namespace brannock::ui
