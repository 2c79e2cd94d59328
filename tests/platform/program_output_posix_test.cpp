// Collecting a helper program's standard output.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/program_output.h"
#include "support/test_files.h"

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
  // does not hold the caller: this one ends only once a file exists that
  // is made after the call, so a call that waited for it would reach its
  // limit and give no output.
  const std::filesystem::path dir = testing::FreshTestDir("brannock-output");
  const Text release = Utf8ToUtf16((dir / "release").string());
  out = RunProgramOutput(
      {u"sh", u"-c", u"(for i in $(seq 1200); do [ -e \"$1\" ] && break; sleep 0.05; done) & echo done", u"sh", release},
      {}, 60s);
  std::ofstream(dir / "release").close();
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, "done\n");

  // Past the limit the program is killed and there is no output: the call
  // ends long before the program would, and the program is gone.
  const std::filesystem::path pidFile = dir / "pid";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(RunProgramOutput(
      {u"sh", u"-c", u"echo $$ > \"$1\"; echo early; exec sleep 600", u"sh", Utf8ToUtf16(pidFile.string())}, {}, 2s));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 300s);
  const std::string pid = testing::ReadFileBytes(pidFile);
  if (!pid.empty()) {
    EXPECT_NE(kill(static_cast<pid_t>(std::stol(pid)), 0), 0) << "the program still runs";
  }
  std::filesystem::remove_all(dir);

  EXPECT_FALSE(RunProgramOutput({u"/nonexistent/brannock-no-program"}, {}, 10s));
  EXPECT_FALSE(RunProgramOutput({}, {}, 10s));
}

}  // namespace
}  // namespace brannock::platform
