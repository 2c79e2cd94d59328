#include "ui/logic/idl_tokens.h"

#include <gtest/gtest.h>

#include <string>

#include "token_classes.h"

namespace brannock::ui {
namespace {

std::string IdlClasses(TextView line, TIdlLineState* state) { return testing::TokenClasses(line, state, TokenizeIdlLine); }

std::string IdlClasses(TextView line) {
  TIdlLineState state;
  return IdlClasses(line, &state);
}

TEST(IdlTokens, ClassesOfRenderedLines) {
  EXPECT_EQ(IdlClasses(u"// typelib filename: x.tlb"), std::string(26, 'c'));
  EXPECT_EQ(IdlClasses(u"library RenderDemo"), "kkkkkkk iiiiiiiiii");
  EXPECT_EQ(IdlClasses(u"    importlib(\"stdole2.tlb\");"), "    kkkkkkkkkosssssssssssssoo");
  // Attribute names teal, their arguments as what they are; the GUID of
  // uuid() one number.
  EXPECT_EQ(IdlClasses(u"[id(0x0000001F), propget, helpstring(\"a]b\")] HRESULT Name([out, retval] BSTR* p);"),
            "ottonnnnnnnnnnoo ttttttto ttttttttttosssssoo iiiiiii iiiioottto tttttto iiiio ioo");
  EXPECT_EQ(IdlClasses(u"[uuid(8A3C1F00-0000-4000-8000-000000000001), version(1.2)]"),
            "ottttonnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnoo tttttttonnnoo");
  // An argument that is a name is a name, not an attribute.
  EXPECT_EQ(IdlClasses(u"[in, defaultvalue(Red)] Colors c"), "otto ttttttttttttoiiioo iiiiii i");
  // Keywords are case-sensitive: "Interface" is a name.
  EXPECT_EQ(IdlClasses(u"interface Interface;"), "kkkkkkkkk iiiiiiiiio");
  EXPECT_EQ(IdlClasses(u"typedef unsigned __int64 x;"), "kkkkkkk kkkkkkkk kkkkkkk io");
  EXPECT_EQ(IdlClasses(u"Blue = -5, f = 1.5e-3, c = 'x'"), "iiii o ono i o nnnnnno i o sss");
  EXPECT_EQ(IdlClasses(u"  #include \"x.h\""), "  dddddddddddddd");
  // Array bounds are numbers, the name before them a name.
  EXPECT_EQ(IdlClasses(u"double grid[4][2];"), "kkkkkk iiiionoonoo");
  // A string left open ends with the line; an escaped quote stays inside.
  EXPECT_EQ(IdlClasses(u"\"a\\\"b"), "sssss");
}

TEST(IdlTokens, CommentsAndAttributeListsSpanLines) {
  TIdlLineState state;
  EXPECT_EQ(IdlClasses(u"x /* open", &state), "i ccccccc");
  EXPECT_TRUE(state.InComment);
  EXPECT_EQ(IdlClasses(u"still */ y", &state), "cccccccc i");
  EXPECT_FALSE(state.InComment);
  // The library's attributes, one a line, inside "[" ... "]".
  EXPECT_EQ(IdlClasses(u"[", &state), "o");
  EXPECT_EQ(state.Brackets, 1);
  EXPECT_EQ(IdlClasses(u"  helpstring(\"x\"),", &state), "  ttttttttttosssoo");
  EXPECT_EQ(IdlClasses(u"  lcid(0x0)", &state), "  ttttonnno");
  EXPECT_EQ(IdlClasses(u"]", &state), "o");
  EXPECT_EQ(state, TIdlLineState{});
  EXPECT_EQ(IdlClasses(u"library X", &state), "kkkkkkk i");
  // A stray "]" or ")" does not go below zero.
  EXPECT_EQ(IdlClasses(u") ] long", &state), "o o kkkk");
  EXPECT_EQ(state, TIdlLineState{});
}

TEST(IdlTokens, TheUnitStateCarriesEachNotationApart) {
  std::vector<TTokenRun> runs;
  TUnitLineState state = TokenizeUnitLine(TUnitLanguage::Idl, u"/* a", {}, &runs);
  EXPECT_TRUE(state.Idl.InComment);
  EXPECT_EQ(state.Pascal, TPascalLineState{});
  state = TokenizeUnitLine(TUnitLanguage::Pascal, u"{ b", state, &runs);
  EXPECT_EQ(state.Pascal.Comment, TPascalLineState::Open::BraceComment);
  EXPECT_TRUE(state.Idl.InComment);
  // The same line, two notations: "interface" is a keyword in both, "[id]"
  // an attribute in IDL only.
  TokenizeUnitLine(TUnitLanguage::Idl, u"[id]", {}, &runs);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].Token, TPascalToken::Attribute);
  TokenizeUnitLine(TUnitLanguage::Pascal, u"[id]", {}, &runs);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].Token, TPascalToken::Identifier);
  EXPECT_EQ(PascalTokenStyle(TPascalToken::Attribute).Colour, 0x008080u);
}

}  // namespace
}  // namespace brannock::ui
