// The instance helper's one-line report, written by the helper under Wine
// and read back by the window program.
#include <gtest/gtest.h>

#include "platform/instance_probe.h"

namespace brannock::platform {
namespace {

using Outcome = InstanceReport::Outcome;

TEST(InstanceReport, HelperLinesRoundTripAndAnythingElseIsNoReport) {
  EXPECT_EQ(FormatInstanceReport({Outcome::None, 0}), "none");
  EXPECT_EQ(FormatInstanceReport({Outcome::Ok, 0}), "ok");
  EXPECT_EQ(FormatInstanceReport({Outcome::TypeInfoFailed, 0x8002802B}), "typeinfo-failed 0x8002802B");
  EXPECT_EQ(FormatInstanceReport({Outcome::TypeInfoFailed, 5}), "typeinfo-failed 0x00000005");

  for (const InstanceReport& r : {InstanceReport{Outcome::None, 0}, InstanceReport{Outcome::Ok, 0},
                                  InstanceReport{Outcome::TypeInfoFailed, 0x80004001},
                                  InstanceReport{Outcome::TypeInfoFailed, 0xFFFFFFFF}}) {
    // As the Windows console writes it: CR LF at the end.
    auto parsed = ParseInstanceReport(FormatInstanceReport(r) + "\r\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->outcome, r.outcome);
    EXPECT_EQ(parsed->code, r.code);
  }
  // Only the first line counts; trailing blanks are ignored.
  auto first = ParseInstanceReport("typeinfo-failed 0x80029C4A  \nok\n");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->outcome, Outcome::TypeInfoFailed);
  EXPECT_EQ(first->code, 0x80029C4Au);
  EXPECT_EQ(ParseInstanceReport("ok")->outcome, Outcome::Ok);

  for (const char* bad : {"", "\n", "OK", " ok", "ok then", "nonesuch", "typeinfo-failed", "typeinfo-failed 0x",
                          "typeinfo-failed 0x8000400", "typeinfo-failed 0x800040011", "typeinfo-failed 0x8000400g",
                          "typeinfo-failed 0x80004001 extra", "typeinfo-failed 80004001", "\nok"})
    EXPECT_FALSE(ParseInstanceReport(bad)) << bad;
}

}  // namespace
}  // namespace brannock::platform
