// The POSIX side of list files: the Windows-1252 table with its best-fit
// characters, and the system's reasons in the file errors.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "catalogue/list_file.h"
#include "common/error.h"
#include "platform/codepage.h"
#include "support/error_text.h"
#include "support/test_files.h"

using namespace brannock;
namespace fs = std::filesystem;
using brannock::testing::ErrorTextOf;
using brannock::testing::ReadFileBytes;

TEST(ToAnsiCodePage, Windows1252WithBestFit) {
  using platform::ToAnsiCodePage;
  EXPECT_EQ(ToAnsiCodePage(u"plain ASCII;{1}"), "plain ASCII;{1}");
  EXPECT_EQ(ToAnsiCodePage(u"caf\u00E9 \u00A0\u00FF"), "caf\xE9 \xA0\xFF");
  EXPECT_EQ(ToAnsiCodePage(u"\u20AC\u201C\u201D\u2026\u0160\u017E\u0178\u2122"), "\x80\x93\x94\x85\x8A\x9E\x9F\x99");
  EXPECT_EQ(ToAnsiCodePage(u"\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
  // Best fit: letters lose their marks, look-alikes stand in.
  EXPECT_EQ(ToAnsiCodePage(u"\u0100\u0101\u010C\u0141\u0142\u0150\u017B"), "AaCLlOZ");
  EXPECT_EQ(ToAnsiCodePage(u"\u0110"), "\xD0");
  EXPECT_EQ(ToAnsiCodePage(u"a\u2264b\u2212c\u2010d\u3000e\u03A9\u2552"), "a=b-c-d eO+");
  EXPECT_EQ(ToAnsiCodePage(u"\u2260"), "?");  // not equal to has no substitute
  EXPECT_EQ(ToAnsiCodePage(u"\uFF21\uFF42\uFF10\uFF01"), "Ab0!");
  // Nothing fits: the default character, one per character.
  EXPECT_EQ(ToAnsiCodePage(u"\u65E5\u672C \u0080\u0409"), "?? ??");
  EXPECT_EQ(ToAnsiCodePage(u"x\U0001F600y"), "x??y");  // each half of the pair, as Windows does
  EXPECT_EQ(ToAnsiCodePage(u"\xD800z\xDC00"), "?z?");  // unpaired surrogates
  EXPECT_EQ(ToAnsiCodePage(Text(u"a\0b", 3)), std::string("a\0b", 3));
  // Long lines go eight units at a time: a character outside ASCII at every
  // place of a 40-unit text.
  for (size_t at = 0; at < 40; ++at) {
    Text text(40, u'x');
    text[at] = u'\u20AC';
    std::string expected(40, 'x');
    expected[at] = '\x80';
    EXPECT_EQ(ToAnsiCodePage(text), expected) << at;
  }
}

TEST(SaveList, FailedWriteLeavesTheOldFile) {
  const fs::path dir = brannock::testing::FreshTestDir("brannock-listfile");
  const fs::path file = dir / "ObjClasses.csv";
  TObjectData old;
  old.Name = u"Old";
  old.GUID = u"{0}";
  SaveList(file, {old});

  // Let the write fail halfway: the file size limit stops it with EFBIG.
  TObjectData rec;
  rec.Name = u"A rather long class name";
  rec.GUID = u"{00000000-0000-0000-0000-000000000000}";
  const TObjects big(1000, rec);
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message = ErrorTextOf<FileError>([&] { SaveList(file, big); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, "Cannot create file \"" + file.string() + "\". File too large");
  EXPECT_EQ(ReadFileBytes(file), "Name;GUID\r\nOld;{0}\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary file left

  // The reasons are the system's texts.
  EXPECT_EQ(ErrorTextOf<FileError>([&] { SaveList(dir / "missing" / "x.csv", {}); }),
            "Cannot create file \"" + (dir / "missing" / "x.csv").string() + "\". No such file or directory");
  EXPECT_EQ(ErrorTextOf<FileError>([&] { SaveList(file / "x.csv", {}); }),
            "Cannot create file \"" + (file / "x.csv").string() + "\". Not a directory");
  fs::remove_all(dir);
}
