#include "ui/logic/pascal_tokens.h"

#include <gtest/gtest.h>

#include <string>

#include "token_classes.h"

namespace brannock::ui {
namespace {

std::string Classes(TextView line, TPascalLineState* state) { return testing::TokenClasses(line, state, TokenizePascalLine); }

std::string Classes(TextView line) {
  TPascalLineState state;
  return Classes(line, &state);
}

TEST(PascalTokens, ClassesOfRenderedLines) {
  EXPECT_EQ(Classes(u"unit Foo;"), "kkkk iiio");
  EXPECT_EQ(Classes(u"  Blue = -5;"), "  iiii o ono");
  EXPECT_EQ(Classes(u"// typelib filename: x.tlb"), std::string(26, 'c'));
  EXPECT_EQ(Classes(u"     ['{8A3C1F00-0000}']"), "     ossssssssssssssssso");
  EXPECT_EQ(Classes(u"x: array[0..15] of Byte;"), "io kkkkkonoonno kk iiiio");
  EXPECT_EQ(Classes(u"f = 1.5e3; h = $FF; c = #13;"), "i o nnnnno i o nnno i o ssso");
  EXPECT_EQ(Classes(u"s = 'it''s'; t"), "i o ssssssso i");
  // Keywords in any letter case; names that contain keywords are names.
  EXPECT_EQ(Classes(u"END Endless dispid"), "kkk iiiiiii kkkkkk");
  EXPECT_EQ(Classes(u"IFoo = dispinterface"), "iiii o kkkkkkkkkkkkk");
  // Directives of a property are keywords only up to the property's ";".
  EXPECT_EQ(Classes(u"property X: Integer read F write G; read"), "kkkkkkkk io iiiiiii kkkk i kkkkk io iiii");
  EXPECT_EQ(Classes(u"procedure P(read: Integer); index"), "kkkkkkkkk ioiiiio iiiiiiioo iiiii");
  // A string left open ends with the line and stays a string.
  EXPECT_EQ(Classes(u"x := 'open"), "i oo sssss");
  EXPECT_EQ(Classes(u"{$R *.res} (*$I x*) x"), "dddddddddd dddddddd i");
  EXPECT_EQ(Classes(u"x{c}y(*c*)z"), "iccciccccci");
  EXPECT_EQ(Classes(u""), "");
}

TEST(PascalTokens, StateCarriesIntoTheNextLine) {
  TPascalLineState state;
  EXPECT_EQ(Classes(u"a { open", &state), "i cccccc");
  EXPECT_EQ(state.Comment, TPascalLineState::Open::BraceComment);
  EXPECT_EQ(Classes(u"still *) } end", &state), "cccccccccc kkk");
  EXPECT_EQ(state, TPascalLineState{});
  EXPECT_EQ(Classes(u"(* open } ", &state), "cccccccccc");
  EXPECT_EQ(Classes(u"} *)x", &state), "cccci");
  EXPECT_EQ(Classes(u"{$IFDEF", &state), "ddddddd");
  EXPECT_EQ(Classes(u"X}x", &state), "ddi");
  // A property declaration running over lines keeps its directives.
  EXPECT_EQ(Classes(u"property X: Integer", &state).substr(0, 8), "kkkkkkkk");
  EXPECT_TRUE(state.InProperty);
  EXPECT_EQ(Classes(u"  read F;", &state), "  kkkk io");
  EXPECT_FALSE(state.InProperty);
  // asm ... end: assembler up to the end, across lines.
  EXPECT_EQ(Classes(u"asm mov eax, 1", &state), "kkk aaa aaaa a");
  EXPECT_TRUE(state.InAsm);
  EXPECT_EQ(Classes(u" ret // c", &state), " aaa cccc");
  EXPECT_EQ(Classes(u"end; x", &state), "kkko i");
  EXPECT_FALSE(state.InAsm);
}

TEST(PascalTokens, StylesOfTheClasses) {
  EXPECT_EQ(PascalTokenStyle(TPascalToken::Comment).Colour, 0x008000u);
  EXPECT_EQ(PascalTokenStyle(TPascalToken::Number).Colour, 0x0000FFu);
  EXPECT_EQ(PascalTokenStyle(TPascalToken::String).Colour, 0xFF0000u);
  EXPECT_EQ(PascalTokenStyle(TPascalToken::Asm).Colour, 0xFF00FFu);
  EXPECT_TRUE(PascalTokenStyle(TPascalToken::Keyword).Bold);
  EXPECT_FALSE(PascalTokenStyle(TPascalToken::Identifier).Bold);
  EXPECT_EQ(PascalTokenStyle(TPascalToken::Identifier).Colour, 0u);
  EXPECT_EQ(PascalTokenStyle(TPascalToken::Symbol).Colour, 0u);
}

}  // namespace
}  // namespace brannock::ui
