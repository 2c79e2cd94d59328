#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/list_file.h"
#include "common/error.h"
#include "support/error_text.h"
#include "support/test_files.h"

using namespace brannock;
namespace fs = std::filesystem;
using brannock::testing::ReadFileBytes;

namespace {

TObjectData Rec(const Text& name, const Text& guid) {
  TObjectData r;
  r.Name = name;
  r.GUID = guid;
  r.Server = u"not written";
  return r;
}

class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = brannock::testing::FreshTestDir("brannock-listfile"); }
  void TearDown() override { fs::remove_all(dir_); }

  size_t FilesInDir() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

}  // namespace

TEST_F(ListFileTest, BytesExactly) {
  const fs::path file = dir_ / "list.csv";
  SaveList(file, {Rec(u"A", u"{1}"), Rec(u"B;C", u"{2}")});
  EXPECT_EQ(ReadFileBytes(file), "Name;GUID\r\nA;{1}\r\nB;C;{2}\r\n");

  // An empty list gives the header line only; the file is replaced.
  SaveList(file, {});
  EXPECT_EQ(ReadFileBytes(file), "Name;GUID\r\n");

  // Nothing is escaped; the text is in the ANSI code page (1252), with
  // best-fit and default characters for what it cannot hold.
  SaveList(file, {Rec(u"two\r\nlines", u"x.exe"), Rec(u"caf\u00E9 \u20AC", u"{3}"),
                  Rec(u"\u0100\u4E2D\U0001F600", u"{4}"), Rec(u"", u"")});
  EXPECT_EQ(ReadFileBytes(file), "Name;GUID\r\ntwo\r\nlines;x.exe\r\ncaf\xE9 \x80;{3}\r\nA???;{4}\r\n;\r\n");
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
}

TEST_F(ListFileTest, CannotCreateNamesFullPathAndReason) {
  const fs::path missing = dir_ / "no such folder" / "AppIds.csv";
  std::string message = brannock::testing::ErrorTextOf<FileError>([&] { SaveList(missing, {}); });
  const std::string prefix = "Cannot create file \"" + missing.string() + "\". ";
  EXPECT_EQ(message.substr(0, prefix.size()), prefix);
  EXPECT_GT(message.size(), prefix.size());  // the system's reason follows

  // A relative name is reported with its full path.
  const fs::path cwd = fs::current_path();
  fs::current_path(dir_);
  message = brannock::testing::ErrorTextOf<FileError>([&] { SaveList(fs::path("sub") / "x.csv", {}); });
  fs::current_path(cwd);
  const std::string full = "Cannot create file \"" + (dir_ / "sub" / "x.csv").string() + "\". ";
  EXPECT_EQ(message.substr(0, full.size()), full);

  // A folder in the target's place fails without touching the folder.
  fs::create_directory(dir_ / "taken.csv");
  fs::create_directory(dir_ / "taken.csv" / "inside");
  EXPECT_THROW(SaveList(dir_ / "taken.csv", {}), FileError);
  EXPECT_TRUE(fs::is_directory(dir_ / "taken.csv" / "inside"));
  EXPECT_EQ(FilesInDir(), 1u);
}
