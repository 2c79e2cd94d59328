#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "catalogue/list_file.h"
#include "common/error.h"
#include "platform/codepage.h"

using namespace brannock;
namespace fs = std::filesystem;

namespace {

TObjectData Rec(const Text& name, const Text& guid) {
  TObjectData r;
  r.Name = name;
  r.GUID = guid;
  r.Server = u"not written";
  return r;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("brannock-listfile-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  size_t FilesInDir() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

}  // namespace

TEST(ToAnsiCodePage, Windows1252WithBestFit) {
  using platform::ToAnsiCodePage;
  EXPECT_EQ(ToAnsiCodePage(u"plain ASCII;{1}"), "plain ASCII;{1}");
  EXPECT_EQ(ToAnsiCodePage(u"caf\u00E9 \u00A0\u00FF"), "caf\xE9 \xA0\xFF");
  EXPECT_EQ(ToAnsiCodePage(u"\u20AC\u201C\u201D\u2026\u0160\u017E\u0178\u2122"), "\x80\x93\x94\x85\x8A\x9E\x9F\x99");
  EXPECT_EQ(ToAnsiCodePage(u"\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
  // Best fit: letters lose their marks, look-alikes stand in.
  EXPECT_EQ(ToAnsiCodePage(u"\u0100\u0101\u010C\u0141\u0142\u0150\u017B"), "AaCLlOZ");
  EXPECT_EQ(ToAnsiCodePage(u"\u0110"), "\xD0");
  EXPECT_EQ(ToAnsiCodePage(u"a\u2260b\u2212c\u2010d\u3000e"), "a=b-c-d e");
  EXPECT_EQ(ToAnsiCodePage(u"\uFF21\uFF42\uFF10\uFF01"), "Ab0!");
  // Nothing fits: the default character, one per character.
  EXPECT_EQ(ToAnsiCodePage(u"\u65E5\u672C \u0080\u0409"), "?? ??");
  EXPECT_EQ(ToAnsiCodePage(u"x\U0001F600y"), "x?y");
  EXPECT_EQ(ToAnsiCodePage(u"\xD800z\xDC00"), "?z?");  // unpaired surrogates
  EXPECT_EQ(ToAnsiCodePage(Text(u"a\0b", 3)), std::string("a\0b", 3));
}

TEST_F(ListFileTest, BytesExactly) {
  const fs::path file = dir_ / "list.csv";
  SaveList(file, {Rec(u"A", u"{1}"), Rec(u"B;C", u"{2}")});
  EXPECT_EQ(ReadFile(file), "Name;GUID\r\nA;{1}\r\nB;C;{2}\r\n");

  // An empty list gives the header line only; the file is replaced.
  SaveList(file, {});
  EXPECT_EQ(ReadFile(file), "Name;GUID\r\n");

  // Nothing is escaped; characters outside the code page are substituted.
  SaveList(file, {Rec(u"two\r\nlines", u"x.exe"), Rec(u"\u0100\u20AC\u4E2D", u"{3}"), Rec(u"", u"")});
  EXPECT_EQ(ReadFile(file), "Name;GUID\r\ntwo\r\nlines;x.exe\r\nA\x80?;{3}\r\n;\r\n");
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
}

TEST_F(ListFileTest, FailedWriteLeavesTheOldFile) {
  const fs::path file = dir_ / "ObjClasses.csv";
  SaveList(file, {Rec(u"Old", u"{0}")});

  // Let the write fail halfway: the file size limit stops it with EFBIG.
  TObjects big(1000, Rec(u"A rather long class name", u"{00000000-0000-0000-0000-000000000000}"));
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    SaveList(file, big);
  } catch (const FileError& e) {
    message = e.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, "Cannot create file \"" + file.string() + "\". File too large");
  EXPECT_EQ(ReadFile(file), "Name;GUID\r\nOld;{0}\r\n");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(ListFileTest, CannotCreateNamesFullPathAndReason) {
  const fs::path missing = dir_ / "no such folder" / "AppIds.csv";
  try {
    SaveList(missing, {});
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + missing.string() + "\". No such file or directory");
  }

  // A relative name is reported with its full path.
  const fs::path cwd = fs::current_path();
  fs::current_path(dir_);
  std::string message;
  try {
    SaveList(fs::path("sub") / "x.csv", {});
  } catch (const FileError& e) {
    message = e.what();
  }
  fs::current_path(cwd);
  EXPECT_EQ(message, "Cannot create file \"" + (dir_ / "sub" / "x.csv").string() + "\". No such file or directory");

  // The target being a folder fails without touching the folder.
  fs::create_directory(dir_ / "taken.csv");
  fs::create_directory(dir_ / "taken.csv" / "inside");
  EXPECT_THROW(SaveList(dir_ / "taken.csv", {}), FileError);
  EXPECT_TRUE(fs::is_directory(dir_ / "taken.csv" / "inside"));
  EXPECT_EQ(FilesInDir(), 1u);
}
