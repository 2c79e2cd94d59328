// What only a POSIX file system has: named pipes and devices, which a
// reader must refuse rather than wait on or read without end.
#include "platform/file_reading.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace brannock::platform {
namespace {

TEST(ReadWholeFile, NamedPipesAndDevicesAreNotRead) {
  const auto dir = brannock::testing::FreshTestDir("brannock-read-pipe");
  const auto pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::string bytes;
  FileReadFailure failure;
  EXPECT_FALSE(ReadWholeFile(pipe, 100, &bytes, &failure)) << "no writer: opening it would block";
  EXPECT_EQ(failure.reason, FileReadFailure::Reason::NotAFile);
  EXPECT_FALSE(ReadWholeFile("/dev/zero", 100, &bytes, &failure));
  EXPECT_EQ(failure.reason, FileReadFailure::Reason::NotAFile);
  EXPECT_FALSE(WholeFile::Read(pipe, 100, &failure)) << "held files neither";
  EXPECT_EQ(failure.reason, FileReadFailure::Reason::NotAFile);
  EXPECT_FALSE(WholeFile::Read("/dev/zero", 100, &failure));
  EXPECT_EQ(failure.reason, FileReadFailure::Reason::NotAFile);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brannock::platform
