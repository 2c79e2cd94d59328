#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/process.h"
#include "support/test_files.h"

using namespace brannock;
using platform::ProcessLauncher;
using platform::RunProcess;
namespace fs = std::filesystem;

namespace {

class RunProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::canonical(brannock::testing::FreshTestDir("brannock-process"));
    fs::create_directories(dir_ / "with blank");
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Read(const fs::path& p) { return brannock::testing::ReadFileBytes(p); }

  Text Quoted(const fs::path& p) const { return u"\"" + Utf8ToUtf16(p.string()) + u"\""; }

  fs::path dir_;
};

}  // namespace

TEST_F(RunProcessTest, StartsInTheExecutableFolderAndWaits) {
  // A script in a folder with a blank in its name writes where it runs and
  // its arguments, after a short pause that RunProcess waits out.
  const fs::path script = dir_ / "with blank" / "probe.sh";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\nsleep 0.2\npwd > \"$1\"\nprintf '%s|' \"$@\" >> \"$1\"\n";
  }
  fs::permissions(script, fs::perms::owner_all);
  const fs::path result = dir_ / "result.txt";
  ASSERT_TRUE(RunProcess(Utf8ToUtf16(script.string()), u"  " + Quoted(result) + u" \"two words\" x\\\"y  ", 10));
  EXPECT_EQ(Read(result), (dir_ / "with blank").string() + "\n" + result.string() + "|two words|x\"y|");
}

TEST_F(RunProcessTest, BareNamesGoThroughThePathAndMissingProgramsAreNotStarted) {
  const fs::path result = dir_ / "bare.txt";
  ASSERT_TRUE(RunProcess(u"sh", u"-c \"pwd > '" + Utf8ToUtf16(result.string()) + u"'\"", -1));
  EXPECT_EQ(Read(result), fs::current_path().string() + "\n");

  EXPECT_FALSE(RunProcess(u"brannock-no-such-program", u"x", 10));
  EXPECT_FALSE(RunProcess(Utf8ToUtf16((dir_ / "missing.sh").string()), u"", 10));
  EXPECT_FALSE(RunProcess(u"", u"", 10));
}

TEST_F(RunProcessTest, LauncherWordsAndEnvironmentComeFirst) {
  // As `wine regsvr32 ...` would run: the launcher's words, then the
  // executable and its parameters, with the launcher's environment entries.
  const fs::path result = dir_ / "launched.txt";
  setenv("BRANNOCK_PROCESS_TEST", "inherited", 1);
  ProcessLauncher launcher{{u"env"}, {u"BRANNOCK_PROCESS_TEST=from launcher", u"BRANNOCK_OTHER=2"}};
  ASSERT_TRUE(RunProcess(u"sh",
                         u"-c \"echo $BRANNOCK_PROCESS_TEST $BRANNOCK_OTHER > '" + Utf8ToUtf16(result.string()) + u"'\"",
                         10, launcher));
  EXPECT_EQ(Read(result), "from launcher 2\n");
  unsetenv("BRANNOCK_PROCESS_TEST");

  EXPECT_FALSE(RunProcess(u"sh", u"-c true", 10, ProcessLauncher{{u"brannock-no-such-launcher"}, {}}));
  EXPECT_TRUE(platform::RunProgram({u"sh", u"-c", u"pwd > launched.txt"}, {}, Utf8ToUtf16(dir_.string())));
  EXPECT_EQ(Read(result), dir_.string() + "\n");
}

TEST_F(RunProcessTest, ALongRunningProgramGoesOnByItself) {
  // RunProcess returns after its wait while the program still runs: the
  // program waits for a file made only once RunProcess has returned, then
  // finishes its work on its own.
  const fs::path go = dir_ / "go", result = dir_ / "late.txt";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(RunProcess(u"sh",
                         u"-c \"for i in $(seq 1200); do [ -e '" + Utf8ToUtf16(go.string()) +
                             u"' ] && break; sleep 0.05; done; echo late > '" + Utf8ToUtf16(result.string()) + u"'\"",
                         10));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(platform::kRunProcessWaitMs));
  EXPECT_FALSE(fs::exists(result));
  std::ofstream(go).close();
  for (int i = 0; i < 1200 && Read(result) != "late\n"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(Read(result), "late\n");
}
