#include "common/unit_search.h"

#include <gtest/gtest.h>

#include <string>

namespace brannock {
namespace {

// Every place of a match, in texts of every length around the width the
// search takes at once, from every start, against a search one unit at a
// time.
TEST(UnitSearch, FindsWhatAPlainSearchFinds) {
  for (size_t length = 0; length < 72; ++length) {
    for (size_t hit = 0; hit <= length; ++hit) {
      std::u16string wide(length, u'a');
      std::string narrow(length, 'a');
      if (hit < length) {
        wide[hit] = hit % 2 ? u'"' : u'\\';
        narrow[hit] = hit % 2 ? '"' : '\\';
        // A unit that holds the wanted byte in one half only.
        if (hit + 1 < length) wide[hit + 1] = static_cast<char16_t>(0x5C00);
      }
      for (size_t from = 0; from <= length; ++from) {
        size_t plain = std::u16string::npos;
        for (size_t i = from; i < length && plain == std::u16string::npos; ++i)
          if (wide[i] == u'"' || wide[i] == u'\\') plain = i;
        EXPECT_EQ(FindEitherUnit(wide, from, u'"', u'\\'), plain) << length << " " << hit << " " << from;
        EXPECT_EQ(FindEitherUnit(narrow, from, '"', '\\'), plain) << length << " " << hit << " " << from;
        const char16_t one = hit % 2 ? u'"' : u'\\';
        EXPECT_EQ(FindUnit(wide, from, one), plain) << length << " " << hit << " " << from;
      }
    }
  }
}

}  // namespace
}  // namespace brannock
