// Windows paths of a Wine prefix mapped to host files: Wine prefixes live
// on POSIX hosts only.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/files.h"
#include "support/test_files.h"
#include "typelib/path_mapper.h"

namespace brannock::typelib {
namespace {

using namespace brannock::testing;
namespace fs = std::filesystem;

void WriteMappedFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PathMapper, FollowsDosDevicesWithoutLetterCase) {
  const fs::path prefix = FreshTestDir("brannock-reader-prefix");
  WriteMappedFile(prefix / "drive_c" / "Windows" / "System32" / "Foo.TLB", "x");
  WriteMappedFile(prefix / "other" / "a.txt", "y");
  fs::create_directories(prefix / "dosdevices");
  fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
  fs::create_symlink(prefix / "other", prefix / "dosdevices" / "d:");
  fs::create_symlink("/dev/null", prefix / "dosdevices" / "com1");

  PathMapper mapper = PathMapper::ForWinePrefix(prefix);
  auto found = mapper.MapWindowsPath(u"C:\\windows\\system32\\foo.tlb");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->filename(), "Foo.TLB");
  EXPECT_TRUE(fs::equivalent(*found, prefix / "drive_c" / "Windows" / "System32" / "Foo.TLB"));
  EXPECT_TRUE(mapper.MapWindowsPath(u"c:/WINDOWS/System32/FOO.tlb"));
  EXPECT_TRUE(mapper.MapWindowsPath(u"C:\\windows\\..\\windows\\.\\system32\\foo.tlb"));
  EXPECT_TRUE(mapper.MapWindowsPath(u"d:\\A.TXT"));
  EXPECT_FALSE(mapper.MapWindowsPath(u"C:\\windows\\system32\\missing.tlb"));
  EXPECT_FALSE(mapper.MapWindowsPath(u"E:\\a.txt")) << "unmapped drive";
  EXPECT_FALSE(mapper.MapWindowsPath(u"foo.tlb")) << "relative";
  EXPECT_FALSE(mapper.MapWindowsPath(u"\\\\server\\share\\x"));

  PathMapper drives;
  EXPECT_TRUE(drives.Empty());
  EXPECT_TRUE(drives.AddDriveOption(u"x=" + platform::HostPathText(prefix / "other")));
  EXPECT_FALSE(drives.AddDriveOption(u"1=/tmp"));
  EXPECT_FALSE(drives.AddDriveOption(u"C:/tmp"));
  EXPECT_TRUE(drives.MapWindowsPath(u"X:\\a.txt"));
  fs::remove_all(prefix);
}

}  // namespace
}  // namespace brannock::typelib
