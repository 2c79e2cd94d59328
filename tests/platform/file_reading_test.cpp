#include "platform/file_reading.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "support/test_files.h"

namespace brannock::platform {
namespace {

namespace fs = std::filesystem;
using Reason = FileReadFailure::Reason;

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(ReadWholeFile, FilesUpToTheCapAndWhyOthersAreNotRead) {
  const fs::path dir = brannock::testing::FreshTestDir("brannock-read-whole");
  Write(dir / "ten", std::string("0123456789", 10));
  Write(dir / "empty", "");

  std::string text;
  std::vector<uint8_t> bytes;
  FileReadFailure failure;
  EXPECT_TRUE(ReadWholeFile(dir / "ten", 10, &text, &failure));
  EXPECT_EQ(text, "0123456789");
  EXPECT_TRUE(ReadWholeFile(dir / "ten", 10, &bytes));
  EXPECT_EQ(bytes, std::vector<uint8_t>({'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
  EXPECT_TRUE(ReadWholeFile(dir / "empty", 0, &text));
  EXPECT_EQ(text, "");

  text = "old";
  EXPECT_FALSE(ReadWholeFile(dir / "ten", 9, &text, &failure)) << "one byte over the cap";
  EXPECT_EQ(failure.reason, Reason::TooLarge);
  EXPECT_EQ(failure.size, 10u);
  EXPECT_EQ(text, "") << "nothing is left from before";

  EXPECT_FALSE(ReadWholeFile(dir / "missing", 100, &bytes, &failure));
  EXPECT_EQ(failure.reason, Reason::CannotOpen);
  EXPECT_EQ(failure.error, ENOENT);
  EXPECT_TRUE(bytes.empty());

  EXPECT_FALSE(ReadWholeFile(dir, 100, &bytes, &failure));
  EXPECT_EQ(failure.reason, Reason::CannotOpen);
  EXPECT_EQ(failure.error, EISDIR);
  fs::remove_all(dir);
}

TEST(WholeFile, HeldFilesAndWhyOthersAreNotRead) {
  const fs::path dir = brannock::testing::FreshTestDir("brannock-whole-file");
  Write(dir / "ten", "0123456789");
  Write(dir / "empty", "");
  FileReadFailure failure;
  std::shared_ptr<const WholeFile> ten = WholeFile::Read(dir / "ten", 10, &failure);
  ASSERT_TRUE(ten);
  // Held as read: the name may go, the bytes stay.
  fs::remove(dir / "ten");
  EXPECT_EQ(ten->Bytes(), "0123456789");
  auto empty = WholeFile::Read(dir / "empty", 0, &failure);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->Bytes().empty());

  Write(dir / "ten", "0123456789");
  EXPECT_FALSE(WholeFile::Read(dir / "ten", 9, &failure)) << "one byte over the cap";
  EXPECT_EQ(failure.reason, Reason::TooLarge);
  EXPECT_EQ(failure.size, 10u);
  EXPECT_FALSE(WholeFile::Read(dir / "missing", 100, &failure));
  EXPECT_EQ(failure.reason, Reason::CannotOpen);
  EXPECT_EQ(failure.error, ENOENT);
  EXPECT_FALSE(WholeFile::Read(dir, 100, &failure));
  EXPECT_EQ(failure.reason, Reason::CannotOpen);
  EXPECT_EQ(failure.error, EISDIR);

  std::string bytes = "in memory";
  auto copy = WholeFile::FromBytes(bytes);
  bytes = "changed!!";
  EXPECT_EQ(copy->Bytes(), "in memory");
  fs::remove_all(dir);
}

TEST(CappedFile, PiecesAndAFileThatShrinksWhileRead) {
  const fs::path dir = brannock::testing::FreshTestDir("brannock-capped-file");
  const fs::path path = dir / "file";
  Write(path, "abcdefgh");

  CappedFile file(path, 100);
  ASSERT_FALSE(file.Failure());
  EXPECT_EQ(file.Size(), 8u);
  char piece[4] = {};
  EXPECT_TRUE(file.Seek(2));
  EXPECT_TRUE(file.Read(piece, 3));
  EXPECT_EQ(std::string(piece, 3), "cde");
  EXPECT_TRUE(file.Read(piece, 0));
  EXPECT_FALSE(file.Read(piece, 4)) << "three bytes are left";
  ASSERT_TRUE(file.Failure());
  EXPECT_EQ(file.Failure()->reason, Reason::Changed);
  EXPECT_FALSE(file.Read(piece, 1)) << "a failed file stays failed";

  CappedFile beyond(path, 100);
  EXPECT_FALSE(beyond.Seek(9));
  EXPECT_EQ(beyond.Failure()->reason, Reason::Changed);

  // Larger than what the C library reads ahead.
  const fs::path large = dir / "large";
  Write(large, std::string(1 << 20, 'x'));
  CappedFile shrinking(large, 1 << 20);
  ASSERT_FALSE(shrinking.Failure());
  fs::resize_file(large, 4);
  std::string all(shrinking.Size(), '\0');
  EXPECT_FALSE(shrinking.Read(all.data(), all.size()));
  EXPECT_EQ(shrinking.Failure()->reason, Reason::Changed);

  CappedFile tooLarge(path, 7);
  ASSERT_TRUE(tooLarge.Failure());
  EXPECT_EQ(tooLarge.Failure()->reason, Reason::TooLarge);
  EXPECT_EQ(tooLarge.Failure()->size, 8u);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace brannock::platform
