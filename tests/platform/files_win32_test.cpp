// Writing files completely or not at all on a Windows (or Wine) file system.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "platform/files.h"
#include "support/test_files.h"

using namespace brannock;
namespace fs = std::filesystem;

using brannock::testing::ReadFileBytes;

TEST(FilesWin32, ReplacesCompletelyAndLeavesNoTemporaryFile) {
  const fs::path dir = brannock::testing::FreshTestDir("brannock-files");
  const fs::path target = dir / "AppIds.csv";
  platform::WriteFileAtomically(target, "old\r\n");
  platform::WriteFileAtomically(target, std::string("Name;GUID\r\n\0\xff", 13));
  EXPECT_EQ(ReadFileBytes(target), std::string("Name;GUID\r\n\0\xff", 13));
  EXPECT_TRUE(platform::FileExists(target));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  // A folder that does not exist: the error names the full path and the
  // system's reason; nothing is left behind.
  const fs::path missing = dir / "no such folder" / "x.csv";
  try {
    platform::WriteFileAtomically(missing, "x");
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    const Text expected = u"Cannot create file \"" + missing.u16string() + u"\". ";
    EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
    EXPECT_GT(e.Message().size(), expected.size());
  }
  EXPECT_FALSE(platform::FileExists(missing));
  fs::remove_all(dir);
}

TEST(FilesWin32, ExecutableDirectoryHoldsThisProgram) {
  EXPECT_TRUE(fs::exists(platform::ExecutableDirectory() / "test_platform.exe"));
}
