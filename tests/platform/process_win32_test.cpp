// RunProcess starting real programs of a Windows (or Wine) system.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/process.h"
#include "support/test_files.h"

using namespace brannock;
using platform::RunProcess;
namespace fs = std::filesystem;

namespace {

using brannock::testing::ReadFileBytes;

Text Native(const fs::path& p) { return p.u16string(); }

class RunProcessWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = brannock::testing::FreshTestDir("brannock-process");
    fs::create_directories(dir_ / "with blank");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path dir_;
};

}  // namespace

TEST_F(RunProcessWin32, StartsTheCommandProcessorInItsFolder) {
  const fs::path system = fs::path(L"C:\\windows\\system32");
  const fs::path out = dir_ / "cd.txt";
  ASSERT_TRUE(RunProcess(Native(system / "cmd.exe"), u"/c cd > \"" + Native(out) + u"\"  \r\n", 0));
  std::string text = ReadFileBytes(out);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(fs::path(text.substr(0, text.find_first_of("\r\n"))), system) << text;

  // A bare name is found through the search path and runs in the current
  // folder.
  const fs::path bare = dir_ / "bare.txt";
  ASSERT_TRUE(RunProcess(u"cmd", u"/c cd > \"" + Native(bare) + u"\"", -1));
  text = ReadFileBytes(bare);
  EXPECT_EQ(fs::path(text.substr(0, text.find_first_of("\r\n"))), fs::current_path()) << text;
}

TEST_F(RunProcessWin32, ExecutablePathWithBlanks) {
  // A copy of this test program in a folder with a blank writes its report
  // into its working directory: the executable's folder.
  const fs::path copy = dir_ / "with blank" / "test copy.exe";
  fs::copy_file(platform::ExecutableDirectory() / "test_platform.exe", copy);
  ASSERT_TRUE(RunProcess(Native(copy), u"--gtest_filter=NoSuchTest --gtest_output=xml:report.xml", 0));
  EXPECT_TRUE(fs::exists(dir_ / "with blank" / "report.xml"));
}

TEST_F(RunProcessWin32, MissingProgramsAreNotStarted) {
  EXPECT_FALSE(RunProcess(Native(dir_ / "missing.exe"), u"", 10));
  EXPECT_FALSE(RunProcess(u"brannock-no-such-program", u"/x", 10));
  EXPECT_FALSE(RunProcess(u"", u"", 10));
}
