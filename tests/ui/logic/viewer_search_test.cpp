#include "ui/logic/viewer_search.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

TEST(ViewerSearch, DeclarationSearchText) {
  EXPECT_EQ(DeclarationSearchText(u"IShape"), u" IShape = ");
  EXPECT_EQ(DeclarationSearchText(u"TShape"), u" TShape = ");
  EXPECT_EQ(DeclarationSearchText(u""), u"  = ");
}

TEST(ViewerSearch, FindDeclarationLineSkipsConstantsOfTheSameName) {
  const Text unit =
      u"unit Demo;\r\n"
      u"type\r\n"
      u"  Kinds = TOleEnum;\r\n"
      u"const\r\n"
      u"  Shape = 1;\r\n"
      u"  shape2 = 2;\r\n"
      u"\r\n"
      u"type\r\n"
      u"  // A shape\r\n"
      u"  // Flags: (0)\r\n"
      u"  Shape = interface(IDispatch)\r\n"
      u"  end;\r\n"
      u"type\n"
      u"  shape2 = LongInt;";
  const auto shape = FindDeclarationLine(unit, u"Shape");
  ASSERT_TRUE(shape);
  EXPECT_EQ(unit.substr(*shape, 9), u" Shape = ");
  EXPECT_EQ(unit.substr(*shape - 1, 31), u"  Shape = interface(IDispatch)\r");
  // Line feeds alone, and the last line without one.
  const auto alias = FindDeclarationLine(unit, u"shape2");
  ASSERT_TRUE(alias);
  EXPECT_EQ(unit.substr(*alias - 1), u"  shape2 = LongInt;");
  EXPECT_EQ(unit.substr(*FindDeclarationLine(unit, u"Kinds") - 1, 9), u"  Kinds =");

  // The exact name only; a constant, a member or an edited text is not a
  // declaration line: the viewer falls back to the plain search.
  EXPECT_FALSE(FindDeclarationLine(unit, u"SHAPE"));
  EXPECT_FALSE(FindDeclarationLine(unit, u"Shap"));
  EXPECT_FALSE(FindDeclarationLine(u"type\n\n  Shape = record", u"Shape"));
  EXPECT_FALSE(FindDeclarationLine(u"  Shape = record", u"Shape"));
  EXPECT_FALSE(FindDeclarationLine(u"", u""));
}

TEST(ViewerSearch, IdlDeclarationLinesOfTheLibraryBlock) {
  const Text idl =
      u"// typelib filename: demo.tlb\n"
      u"interface IShape;\n"
      u"interface IUnknown {\n"
      u"};\n"
      u"library Demo\n"
      u"{\n"
      u"    interface IShape;\n"
      u"    typedef [uuid(1), helpstring(\"Colors [IShape]\")] enum Colors {\n"
      u"        IShape = 0\n"
      u"    } Colors;\n"
      u"    typedef struct Point {\n"
      u"    } Point;\n"
      u"    [object, uuid(3)]\r\n"
      u"    interface IShape : IDispatch {\r\n"
      u"        [id(0x00000001)] HRESULT Colors([out, retval] Colors* c);\n"
      u"    };\n"
      u"    dispinterface DEvents {\n"
      u"    coclass shape {\n"
      u"        [default] interface IShape;\n"
      u"    module Funcs {\n"
      u"    typedef [public] Point Location;\n"
      u"};";
  auto found = [&](TextView name) -> Text {
    const auto match = FindDeclarationMatch(idl, name, TUnitLanguage::Idl);
    if (!match) return u"(none)";
    const size_t lineStart = idl.rfind(u'\n', match->Start) + 1;
    return idl.substr(match->Start, match->Length) + u" @" + idl.substr(lineStart, match->Start - lineStart);
  };
  // Not the forward declarations, not the imported type above the library
  // block, not an enumeration constant or a member of the same name.
  EXPECT_EQ(found(u"IShape"), u"IShape @    interface ");
  EXPECT_EQ(found(u"Colors"), u"Colors @    typedef [uuid(1), helpstring(\"Colors [IShape]\")] enum ");
  EXPECT_EQ(found(u"Point"), u"Point @    typedef struct ");
  EXPECT_EQ(found(u"DEvents"), u"DEvents @    dispinterface ");
  EXPECT_EQ(found(u"shape"), u"shape @    coclass ");
  EXPECT_EQ(found(u"Funcs"), u"Funcs @    module ");
  EXPECT_EQ(found(u"Location"), u"Location @    typedef [public] Point ");
  EXPECT_EQ(found(u"Demo"), u"Demo @library ");
  EXPECT_EQ(found(u"IUnknown"), u"(none)");
  EXPECT_EQ(found(u"ishape"), u"(none)");
  EXPECT_EQ(found(u"IShap"), u"(none)");
  // The Pascal rule finds none of them; the fallback search texts.
  EXPECT_FALSE(FindDeclarationMatch(idl, u"IShape", TUnitLanguage::Pascal));
  EXPECT_EQ(DeclarationSearchText(u"IShape", TUnitLanguage::Idl), u" IShape");
  EXPECT_EQ(DeclarationSearchText(u"IShape", TUnitLanguage::Pascal), u" IShape = ");
  // The line rule over lines, as the Windows viewer keeps them.
  TDeclarationLineRule rule(u"Location", TUnitLanguage::Idl);
  EXPECT_FALSE(rule.IsDeclaration(u"typedef [public] Point Location;"));
  ASSERT_TRUE(rule.IsDeclaration(u"    typedef [public] Point Location;"));
  EXPECT_EQ(rule.MatchStart(), 27u);
  EXPECT_EQ(rule.MatchLength(), 8u);
}

TEST(ViewerSearch, DeclarationJumpShowsTheLineThirdAndSelectsTheCharacterBefore) {
  // "  IShape = dispinterface" on line 20, starting at position 400: the
  // match " IShape = " begins at its second blank.
  TDeclarationJump jump = DeclarationJump(20, 401, 411, 400);
  EXPECT_EQ(jump.FirstVisibleLine, 18);
  EXPECT_EQ(jump.Caret, 411);
  EXPECT_EQ(jump.SelectionStart, 400);
  EXPECT_EQ(jump.SelectionEnd, 401);

  // Near the top the view stays at the first line.
  jump = DeclarationJump(1, 30, 36, 29);
  EXPECT_EQ(jump.FirstVisibleLine, 0);
  EXPECT_EQ(DeclarationJump(0, 5, 9, 4).FirstVisibleLine, 0);
  EXPECT_EQ(DeclarationJump(2, 5, 9, 4).FirstVisibleLine, 0);
  EXPECT_EQ(DeclarationJump(3, 5, 9, 4).FirstVisibleLine, 1);

  // A multi-byte character in front of the match is selected whole.
  jump = DeclarationJump(5, 100, 110, 97);
  EXPECT_EQ(jump.SelectionStart, 97);
  EXPECT_EQ(jump.SelectionEnd, 100);

  // A match at the very start of the text selects nothing.
  jump = DeclarationJump(0, 0, 8, 0);
  EXPECT_EQ(jump.SelectionStart, jump.SelectionEnd);
  EXPECT_EQ(jump.Caret, 8);
}

TEST(ViewerSearch, FindRangeRunsFromTheCaretWithoutWrapping) {
  EXPECT_EQ(FindRange(10, 100, true).From, 10);
  EXPECT_EQ(FindRange(10, 100, true).To, 100);
  EXPECT_EQ(FindRange(10, 100, false).From, 10);
  EXPECT_EQ(FindRange(10, 100, false).To, 0);
  EXPECT_EQ(FindRange(150, 100, true).From, 100);
  EXPECT_EQ(FindRange(-3, 100, false).From, 0);
}

TEST(ViewerSearch, MatchSelectionLeavesTheCaretOnTheFarSide) {
  const TMatchSelection forward = MatchSelection(10, 14, true);
  EXPECT_EQ(forward.Anchor, 10);
  EXPECT_EQ(forward.Caret, 14);
  const TMatchSelection backward = MatchSelection(10, 14, false);
  EXPECT_EQ(backward.Anchor, 14);
  EXPECT_EQ(backward.Caret, 10);
}

}  // namespace
}  // namespace brannock::ui
