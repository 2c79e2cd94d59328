#include "ui/logic/text_document.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

TTextDocument Document(TextList lines) {
  TTextDocument doc;
  doc.SetLines(std::move(lines));
  return doc;
}

TEST(TextDocument, OffsetsCountLineBreaksAsTwo) {
  TTextDocument doc = Document({u"unit A;", u"", u"type"});
  EXPECT_EQ(doc.WholeText(), u"unit A;\r\n\r\ntype");
  EXPECT_EQ(doc.TextLength(), 15);
  EXPECT_EQ(doc.Offset({2, 1}), 12);
  EXPECT_EQ(doc.PosOfOffset(12), (TTextPos{2, 1}));
  EXPECT_EQ(doc.PosOfOffset(9), (TTextPos{1, 0}));
  EXPECT_EQ(doc.PosOfOffset(7), (TTextPos{0, 7}));
  EXPECT_EQ(doc.PosOfOffset(99), (TTextPos{2, 4}));
  EXPECT_EQ(doc.Clamp({7, 99}), (TTextPos{2, 4}));
  // An empty document is one empty line.
  TTextDocument empty = Document({});
  EXPECT_EQ(empty.LineCount(), 1);
  EXPECT_EQ(empty.TextLength(), 0);
  EXPECT_EQ(empty.WholeText(), u"");
}

TEST(TextDocument, TypingDeletingLineBreaksAndUndo) {
  TTextDocument doc = Document({u"abc", u"def"});
  EXPECT_EQ(doc.TakeFirstChangedLine(), 0);
  EXPECT_EQ(doc.TakeFirstChangedLine(), std::nullopt);
  doc.SetCaret({1, 1}, false);
  doc.Insert(u"X");
  doc.Insert(u"Y");
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndXYef");
  EXPECT_EQ(doc.TakeFirstChangedLine(), 1);
  doc.Insert(u"\r\n");
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndXY\r\nef");
  EXPECT_EQ(doc.Caret(), (TTextPos{2, 0}));
  doc.DeleteBack();  // joins the lines again
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndXYef");
  doc.SetCaret({0, 3}, false);
  doc.DeleteForward();
  EXPECT_EQ(doc.WholeText(), u"abcdXYef");
  // Pasting several lines over a selection.
  doc.Select({0, 1}, {0, 4});
  doc.Insert(u"1\n2\r3");
  EXPECT_EQ(doc.WholeText(), u"a1\r\n2\r\n3XYef");
  EXPECT_EQ(doc.Caret(), (TTextPos{2, 1}));
  // Each step back restores text, caret and selection.
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.WholeText(), u"abcdXYef");
  EXPECT_EQ(doc.Selection(), (TTextRange{{0, 1}, {0, 4}}));
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndXYef");
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndXY\r\nef");
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndXYef");
  ASSERT_TRUE(doc.Undo());  // "XY" was typed in one run
  EXPECT_EQ(doc.WholeText(), u"abc\r\ndef");
  EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
  EXPECT_FALSE(doc.Undo());
  // Delete at the very ends does nothing and records nothing.
  doc.SetCaret({0, 0}, false);
  doc.DeleteBack();
  doc.Move(TCaretMove::TextEnd, false);
  doc.DeleteForward();
  EXPECT_FALSE(doc.CanUndo());
}

TEST(TextDocument, UndoListKeepsTheRecentEdits) {
  TTextDocument doc = Document({u""});
  for (size_t i = 0; i < TTextDocument::kUndoDepth + 20; ++i) doc.Insert(u"\n");
  size_t undone = 0;
  while (doc.Undo()) ++undone;
  EXPECT_EQ(undone, TTextDocument::kUndoDepth);
  EXPECT_EQ(doc.LineCount(), 21);
}

TEST(TextDocument, CaretMovesAndSelection) {
  TTextDocument doc = Document({u"  IFoo = interface(IUnknown)", u"x", u"end;"});
  doc.Move(TCaretMove::WordRight, false);
  EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
  doc.Move(TCaretMove::WordRight, true);
  EXPECT_EQ(doc.SelectedText(), u"IFoo = ");
  doc.Move(TCaretMove::Left, false);  // collapses to the selection's start
  EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
  EXPECT_FALSE(doc.HasSelection());
  doc.Move(TCaretMove::LineEnd, false);
  doc.Move(TCaretMove::Down, false);
  EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
  doc.Move(TCaretMove::Down, false);  // keeps the column it came from
  EXPECT_EQ(doc.Caret(), (TTextPos{2, 4}));
  doc.Move(TCaretMove::Right, false);
  EXPECT_EQ(doc.Caret(), (TTextPos{2, 4}));
  doc.Move(TCaretMove::PageUp, true, 10);
  EXPECT_EQ(doc.Caret(), (TTextPos{0, 4}));
  EXPECT_EQ(doc.SelectedText(), u"oo = interface(IUnknown)\r\nx\r\nend;");
  doc.SelectAll();
  EXPECT_EQ(doc.SelectedText(), doc.WholeText());
  doc.SetCaret({1, 0}, false);
  doc.Move(TCaretMove::Left, false);
  EXPECT_EQ(doc.Caret(), (TTextPos{0, 28}));
  EXPECT_EQ(Document({u"\tab"}).DisplayColumn({0, 2}, 8), 9);
}

TEST(TextDocument, FindWordAndOptions) {
  TTextDocument doc = Document({u"IFoo = interface", u"  ifoo: IFooBar;", u"end; IFOO"});
  const auto find = [&](TextView text, TTextPos from, TFindOptions options) { return doc.Find(text, from, options); };
  EXPECT_EQ(find(u"ifoo", {0, 1}, {}), (TTextRange{{1, 2}, {1, 6}}));
  EXPECT_EQ(find(u"IFOO", {0, 0}, {.MatchCase = true}), (TTextRange{{2, 5}, {2, 9}}));
  EXPECT_EQ(find(u"IFoo", {1, 3}, {.WholeWord = true}), (TTextRange{{2, 5}, {2, 9}}));
  EXPECT_EQ(find(u"IFoo", {1, 3}, {}), (TTextRange{{1, 8}, {1, 12}}));
  // Backwards from the caret: the match must end before it.
  EXPECT_EQ(find(u"ifoo", {2, 8}, {.Forward = false}), (TTextRange{{1, 8}, {1, 12}}));
  EXPECT_EQ(find(u"ifoo", {1, 6}, {.Forward = false}), (TTextRange{{1, 2}, {1, 6}}));
  EXPECT_EQ(find(u"ifoo", {0, 3}, {.Forward = false}), std::nullopt);  // no wrap-around
  EXPECT_EQ(find(u"IFOO", {2, 9}, {}), std::nullopt);
  EXPECT_EQ(find(u"", {0, 0}, {}), std::nullopt);
  EXPECT_EQ(find(u"a\r\nb", {0, 0}, {}), std::nullopt);
  EXPECT_EQ(doc.WordAt({0, 2}), u"IFoo");
  EXPECT_EQ(doc.WordAt({0, 4}), u"IFoo");  // just behind the word
  EXPECT_EQ(doc.WordAt({0, 5}), u"");
  EXPECT_EQ(Document({u"Läden"}).Find(u"LÄDEN", {}, {}).has_value(), true);

  // Texts that begin with blanks (a declaration's search text): the match
  // starts at the blanks, also at a line's start or right at the caret.
  TTextDocument decl = Document({u" x = 1;", u"  IFoo = interface", u"ifoo = x; IFoo =", u"   "});
  EXPECT_EQ(decl.Find(u" ifoo = ", {}, {}), (TTextRange{{1, 1}, {1, 9}}));
  EXPECT_EQ(decl.Find(u" x = ", {}, {}), (TTextRange{{0, 0}, {0, 5}}));
  EXPECT_EQ(decl.Find(u" x = ", {0, 1}, {}), std::nullopt);  // the caret is behind its start
  EXPECT_EQ(decl.Find(u"  IFoo", {1, 0}, {.MatchCase = true}), (TTextRange{{1, 0}, {1, 6}}));
  EXPECT_EQ(decl.Find(u" IFoo =", {2, 9}, {.MatchCase = true}), (TTextRange{{2, 9}, {2, 16}}));
  EXPECT_EQ(decl.Find(u" ifoo = ", {3, 3}, {.Forward = false}), (TTextRange{{1, 1}, {1, 9}}));
  EXPECT_EQ(decl.Find(u" IFoo =", {2, 16}, {.Forward = false}), (TTextRange{{2, 9}, {2, 16}}));
  EXPECT_EQ(decl.Find(u" IFoo =", {2, 15}, {.Forward = false}), (TTextRange{{1, 1}, {1, 8}}));
  EXPECT_EQ(decl.Find(u"  ", {3, 3}, {.Forward = false}), (TTextRange{{3, 1}, {3, 3}}));
  EXPECT_EQ(decl.Find(u"  ", {3, 0}, {}), (TTextRange{{3, 0}, {3, 2}}));
}

}  // namespace
}  // namespace brannock::ui
