#include <gtest/gtest.h>

#include "common/typelib_version.h"

using namespace brannock;

TEST(ParseTypeLibVersion, HexadecimalAsTheRegistrationWritesIt) {
  uint32_t ma = 9, mi = 9;
  EXPECT_TRUE(ParseTypeLibVersion(u"1.a", &ma, &mi));
  EXPECT_EQ(ma, 1u);
  EXPECT_EQ(mi, 10u);
  EXPECT_TRUE(ParseTypeLibVersion(u"2.10", &ma, &mi));
  EXPECT_EQ(ma, 2u);
  EXPECT_EQ(mi, 16u);
  EXPECT_TRUE(ParseTypeLibVersion(u"a.0", &ma, &mi));
  EXPECT_EQ(ma, 10u);
  EXPECT_EQ(mi, 0u);
  EXPECT_TRUE(ParseTypeLibVersion(u"FFFFFFFF.C", &ma, &mi));
  EXPECT_EQ(ma, 0xFFFFFFFFu);
  EXPECT_EQ(mi, 12u);

  // What does not read leaves 0; a major that read stays.
  EXPECT_FALSE(ParseTypeLibVersion(u"1.z", &ma, &mi));
  EXPECT_EQ(ma, 1u);
  EXPECT_EQ(mi, 0u);
  for (TextView bad : {u"3", u"", u".", u"x.5", u" 1.0", u"1.0 ", u"-1.0", u"0x1.0", u"123456789.0", u"1.2.3"}) {
    EXPECT_FALSE(ParseTypeLibVersion(bad, &ma, &mi)) << Utf16ToUtf8(bad);
    EXPECT_EQ(ma, bad == u"1.0 " || bad == u"1.2.3" ? 1u : 0u) << Utf16ToUtf8(bad);
    EXPECT_EQ(mi, 0u);
  }
}
