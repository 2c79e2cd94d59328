// The store of a library's member texts: what it keeps stays whole and in
// place while the store grows and after it is moved.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "typelib/text_store.h"

namespace brannock::typelib {
namespace {

Text Numbered(size_t n, size_t length) {
  Text text(length, u'x');
  for (size_t i = 0; i < length && i < 6; ++i) text[i] = static_cast<char16_t>(u'0' + (n >> (i * 3)) % 8);
  return text;
}

TEST(TextStore, KeptTextsStayWholeAcrossBlocksAndAfterAMove) {
  TextStore store;
  std::vector<TextView> kept;
  std::vector<Text> expected;
  // Lengths from empty past a block's quarter, lists between them: more
  // than many blocks' worth, so that texts land at every block boundary.
  for (size_t n = 0; n < 3000; ++n) {
    const size_t length = n % 97 == 0 ? 20000 : n % 7 == 0 ? 0 : n % 300;
    expected.push_back(Numbered(n, length));
    kept.push_back(store.Keep(expected.back()));
    if (n % 5 == 0) {
      const TextViews list = store.Keep(TextViews(kept.data() + kept.size() - 1, 1));
      ASSERT_EQ(list.size(), 1u);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(list.data()) % alignof(TextView), 0u);
      EXPECT_EQ(list[0], kept.back());
    }
    char16_t* units = store.Units(3);
    units[0] = units[1] = units[2] = u'!';  // written after the text, not over it
  }
  TextStore moved = std::move(store);
  for (size_t n = 0; n < kept.size(); ++n) ASSERT_EQ(kept[n], TextView(expected[n])) << "text " << n;

  const TextViews all = moved.Keep(kept);
  ASSERT_EQ(all.size(), kept.size());
  EXPECT_NE(all.data(), kept.data()) << "the list is the store's own copy";
  for (size_t n = 0; n < kept.size(); ++n) EXPECT_EQ(all[n], TextView(expected[n]));
  EXPECT_TRUE(moved.Keep(TextView()).empty());
  EXPECT_TRUE(moved.Keep(TextViews()).empty());
}

}  // namespace
}  // namespace brannock::typelib
