#include "ui/logic/text_colouring.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

TPascalToken FirstToken(TTextColouring& colouring, const TTextDocument& doc, int64_t line) {
  const std::vector<TTokenRun>& runs = colouring.RunsOf(doc, line);
  return runs.empty() ? TPascalToken::Blank : runs.front().Token;
}

TEST(TextColouring, FollowsCommentsOpenedAboveAndEdits) {
  TTextDocument doc;
  doc.SetLines({u"unit A;", u"{ open", u"x", u"}", u"type"});
  TTextColouring colouring;
  // Asked out of order: the states of the lines above are worked out first.
  EXPECT_EQ(FirstToken(colouring, doc, 2), TPascalToken::Comment);
  EXPECT_EQ(FirstToken(colouring, doc, 4), TPascalToken::Keyword);
  EXPECT_EQ(FirstToken(colouring, doc, 0), TPascalToken::Keyword);
  // Closing the comment on its own line turns the next line into code.
  doc.SetCaret({1, 6}, false);
  doc.Insert(u"}");
  colouring.Invalidate(*doc.TakeFirstChangedLine());
  EXPECT_EQ(FirstToken(colouring, doc, 2), TPascalToken::Identifier);
  EXPECT_EQ(FirstToken(colouring, doc, 3), TPascalToken::Symbol);
  // Opening one at the top colours everything below.
  doc.SetCaret({0, 0}, false);
  doc.Insert(u"(*");
  colouring.Invalidate(*doc.TakeFirstChangedLine());
  colouring.Prepare(doc);
  EXPECT_EQ(FirstToken(colouring, doc, 4), TPascalToken::Comment);
  EXPECT_EQ(FirstToken(colouring, doc, 99), TPascalToken::Comment);  // clamped to the last line
}

TEST(TextColouring, ANotationChangeColoursTheTextAnew) {
  TTextDocument doc;
  doc.SetLines({u"[", u"  id(1)", u"] {x", u"/* y"});
  TTextColouring colouring;
  EXPECT_EQ(colouring.Language(), TUnitLanguage::Pascal);
  colouring.Prepare(doc);
  EXPECT_EQ(colouring.RunsOf(doc, 1)[1].Token, TPascalToken::Identifier);
  EXPECT_EQ(FirstToken(colouring, doc, 3), TPascalToken::Comment);  // "{x" left open
  colouring.SetLanguage(TUnitLanguage::Idl);
  EXPECT_EQ(FirstToken(colouring, doc, 1), TPascalToken::Blank);
  EXPECT_EQ(colouring.RunsOf(doc, 1)[1].Token, TPascalToken::Attribute);
  EXPECT_EQ(FirstToken(colouring, doc, 3), TPascalToken::Comment);
  EXPECT_EQ(colouring.RunsOf(doc, 2)[2].Token, TPascalToken::Symbol);  // "{" is plain in IDL
  // An edit closes the attribute list early: the line below is plain.
  doc.SetCaret({0, 1}, false);
  doc.Insert(u"]");
  colouring.Invalidate(*doc.TakeFirstChangedLine());
  EXPECT_EQ(colouring.RunsOf(doc, 1)[1].Token, TPascalToken::Identifier);
  colouring.SetLanguage(TUnitLanguage::Pascal);
  EXPECT_EQ(FirstToken(colouring, doc, 3), TPascalToken::Comment);
}

}  // namespace
}  // namespace brannock::ui
