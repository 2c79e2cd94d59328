// A file written in parts appears whole at Commit, or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "common/error.h"
#include "platform/files.h"
#include "support/test_files.h"

using namespace brannock;
namespace fs = std::filesystem;

using brannock::testing::ReadFileBytes;

namespace {

size_t EntriesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

TEST(AtomicFile, PartsAppearTogetherAtCommitOrNotAtAll) {
  const fs::path dir = brannock::testing::FreshTestDir("brannock-atomic-file");
  const fs::path target = dir / "Intfs.csv";
  platform::WriteFileAtomically(target, "old\r\n");
  {
    platform::AtomicFile file(target);
    file.Write("Name;GUID\r\n");
    file.Write(std::string("\0\xff", 2));
    EXPECT_EQ(ReadFileBytes(target), "old\r\n") << "nothing shows before the commit";
    EXPECT_EQ(EntriesIn(dir), 2u);
    file.Write("");
    file.Write("end\r\n");
    file.Commit();
    EXPECT_THROW(file.Write("more"), FileError) << "a committed file takes no more parts";
  }
  EXPECT_EQ(ReadFileBytes(target), std::string("Name;GUID\r\n\0\xff" "end\r\n", 18));
  EXPECT_EQ(EntriesIn(dir), 1u);

  // Ended without a commit, as when the parts' maker fails: the target and
  // its folder are as they were.
  try {
    platform::AtomicFile file(target);
    file.Write("half of a list");
    throw std::runtime_error("the maker failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(ReadFileBytes(target), std::string("Name;GUID\r\n\0\xff" "end\r\n", 18));
  EXPECT_EQ(EntriesIn(dir), 1u);

  // A new file that is never committed is never there.
  { platform::AtomicFile file(dir / "TypeLibs.csv"); }
  EXPECT_FALSE(fs::exists(dir / "TypeLibs.csv"));
  EXPECT_EQ(EntriesIn(dir), 1u);

  // A folder that does not exist fails at once, naming the target.
  try {
    platform::AtomicFile file(dir / "no such folder" / "x.csv");
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(e.Message().find(u"x.csv\". "), Text::npos);
  }
  fs::remove_all(dir);
}
