#include "ui/logic/type_ahead.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

TEST(TypeAhead, KeysLessThanASecondApartFormOneSearch) {
  TypeAheadSearch search;
  EXPECT_EQ(search.Type(u"i", 0), u"i");
  EXPECT_EQ(search.Type(u"n", 999), u"in");
  EXPECT_EQ(search.Type(u"t", 1500), u"int");
  // A pause of a full second starts again.
  EXPECT_EQ(search.Type(u"x", 2500), u"x");
  EXPECT_EQ(search.Type(u"y", 4000), u"y");
  // A clock that goes back never extends a search.
  EXPECT_EQ(search.Type(u"z", 100), u"z");
  EXPECT_EQ(search.SearchText(), u"z");
}

TEST(TypeAhead, MatchesTheShownTextFromTheFocusedNode) {
  const TextList shown = {u"Lib (doc) (8)",     u"Enums",           u"Interfaces (3)", u"interface IAlpha",
                          u"interface IBeta",   u"interface Other", u"Dispinterfaces", u"coclass TShape"};
  // The prefix is part of the text: typing just the name finds nothing.
  EXPECT_EQ(FindTypeAheadMatch(shown, 0, u"interface I"), 3u);
  EXPECT_EQ(FindTypeAheadMatch(shown, 0, u"IAlpha"), std::nullopt);
  // From the focused node on, which itself counts.
  EXPECT_EQ(FindTypeAheadMatch(shown, 4, u"interface I"), 4u);
  EXPECT_EQ(FindTypeAheadMatch(shown, 5, u"interface I"), 3u);  // wraps around
  // Letter case counts.
  EXPECT_EQ(FindTypeAheadMatch(shown, 0, u"Interface I"), std::nullopt);
  EXPECT_EQ(FindTypeAheadMatch(shown, 0, u"Interfaces"), 2u);
  EXPECT_EQ(FindTypeAheadMatch(shown, 0, u"coclass T"), 7u);
  // No search text, no nodes, a start outside the list.
  EXPECT_EQ(FindTypeAheadMatch(shown, 0, u""), std::nullopt);
  EXPECT_EQ(FindTypeAheadMatch({}, 0, u"E"), std::nullopt);
  EXPECT_EQ(FindTypeAheadMatch(shown, 99, u"E"), 1u);
}

}  // namespace
}  // namespace brannock::ui
