#include "ui/logic/icon_location.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/error.h"

namespace brannock::ui {
namespace {

namespace fs = std::filesystem;

TEST(IconLocation, SplitFileAndIndex) {
  IconLocation l = SplitIconLocation(u"shell32.dll,2");
  EXPECT_EQ(l.file, u"shell32.dll");
  EXPECT_EQ(l.index, 2);
  l = SplitIconLocation(u"C:\\a b\\x.exe");
  EXPECT_EQ(l.file, u"C:\\a b\\x.exe");
  EXPECT_EQ(l.index, 0);
  EXPECT_EQ(SplitIconLocation(u"x.dll,-101").index, -101);
  EXPECT_THROW(SplitIconLocation(u"x.dll,1,2"), ConversionError);
  try {
    SplitIconLocation(u"x.dll,abc");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_EQ(e.Message(), u"'abc' is not a valid integer value");
  }
}

class TempPrefix : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("brannock-icon-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                          "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    fs::create_directories(root_ / "drive_c/windows/system32");
    fs::create_directories(root_ / "dosdevices");
    fs::create_directory_symlink("../drive_c", root_ / "dosdevices/c:");
    Touch(root_ / "drive_c/windows/system32/shell32.dll");
    Touch(root_ / "drive_c/windows/explorer.exe");
    Touch(root_ / "drive_c/windows/system32/both.dll");
    Touch(root_ / "drive_c/windows/both.dll");
  }
  void TearDown() override { fs::remove_all(root_); }
  static void Touch(const fs::path& p) { std::ofstream(p) << "MZ"; }
  fs::path root_;
};

TEST_F(TempPrefix, LocatesThroughDriveSystemAndWindowsDirectories) {
  HostFileLocator loc(root_);
  const fs::path sys = fs::canonical(root_ / "drive_c/windows/system32");
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"C:\\Windows\\System32\\SHELL32.dll")), sys / "shell32.dll");
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"shell32.dll")), sys / "shell32.dll");
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"Explorer.EXE")), fs::canonical(root_ / "drive_c/windows/explorer.exe"));
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"both.dll")), sys / "both.dll");  // system directory first
  EXPECT_TRUE(loc.LocateIconFile(u"missing.dll").empty());
  EXPECT_TRUE(loc.LocateIconFile(u"").empty());
  EXPECT_TRUE(loc.LocateIconFile(u"C:\\windows\\..\\..\\etc\\passwd").empty());
  EXPECT_TRUE(loc.LocateIconFile(u"D:\\x.dll").empty());

  // Without a prefix names are host paths and nothing else is searched.
  HostFileLocator host;
  const Text hostPath = Utf8ToUtf16((root_ / "drive_c/windows/explorer.exe").string());
  EXPECT_FALSE(host.LocateIconFile(hostPath).empty());
  EXPECT_TRUE(host.LocateIconFile(u"shell32.dll").empty());
}

// The 32-bit view of a 64-bit prefix: a 32-bit program opening system32
// gets SysWOW64, for full paths and for bare names alike; a file only in
// system32 is not its file.
TEST_F(TempPrefix, The32BitViewFindsTheFilesOfSysWow64) {
  fs::create_directories(root_ / "drive_c/windows/syswow64");
  Touch(root_ / "drive_c/windows/syswow64/both.dll");
  Touch(root_ / "drive_c/windows/syswow64/only32.dll");
  HostFileLocator loc(root_);
  const fs::path wow = fs::canonical(root_ / "drive_c/windows/syswow64");
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"C:\\WINDOWS\\system32\\both.dll", true)), wow / "both.dll");
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"c:/windows/System32/only32.dll", true)), wow / "only32.dll");
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"both.dll", true)), wow / "both.dll");
  EXPECT_TRUE(loc.LocateIconFile(u"C:\\windows\\system32\\shell32.dll", true).empty());
  EXPECT_TRUE(loc.LocateIconFile(u"only32.dll").empty()) << "the 64-bit view does not search SysWOW64";
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"Explorer.exe", true)),
            fs::canonical(root_ / "drive_c/windows/explorer.exe"));
  EXPECT_EQ(fs::canonical(loc.LocateIconFile(u"C:\\windows\\explorer.exe", true)),
            fs::canonical(root_ / "drive_c/windows/explorer.exe"));
}

}  // namespace
}  // namespace brannock::ui
