// Collecting a helper program's standard output.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/program_output.h"

namespace brannock::platform {
namespace {

using namespace std::chrono_literals;

TEST(RunProgramOutput, CollectsOutputWithAddedEnvironmentAndStopsAtTheLimit) {
  auto out = RunProgramOutput({u"sh", u"-c", u"printf 'a b\\r\\n'; echo \"$1\"", u"sh", u"arg with blank"}, {}, 10s);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, "a b\r\narg with blank\n");

  // Added entries replace inherited ones of the same name.
  setenv("BRANNOCK_OUTPUT_TEST", "inherited", 1);
  out = RunProgramOutput({u"sh", u"-c", u"echo $BRANNOCK_OUTPUT_TEST $BRANNOCK_OTHER"},
                         {u"BRANNOCK_OUTPUT_TEST=added", u"BRANNOCK_OTHER=x"}, 10s);
  unsetenv("BRANNOCK_OUTPUT_TEST");
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, "added x\n");

  // Standard input is empty, so a program that reads it does not wait.
  out = RunProgramOutput({u"sh", u"-c", u"cat; echo end"}, {}, 10s);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, "end\n");

  // A daemon left behind with the output still open (as wineserver is)
  // does not hold the caller.
  auto start = std::chrono::steady_clock::now();
  out = RunProgramOutput({u"sh", u"-c", u"sleep 5 & echo done"}, {}, 10s);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, "done\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);

  // Past the limit the program is killed and there is no output.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(RunProgramOutput({u"sh", u"-c", u"echo early; sleep 10"}, {}, 300ms));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);

  EXPECT_FALSE(RunProgramOutput({u"/nonexistent/brannock-no-program"}, {}, 10s));
  EXPECT_FALSE(RunProgramOutput({}, {}, 10s));
}

}  // namespace
}  // namespace brannock::platform
