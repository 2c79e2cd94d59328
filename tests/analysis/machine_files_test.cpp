// The files of a source's machine: server command lines, bare names, drives
// that are not mapped, and places any user may write.
#include <gtest/gtest.h>

#include <fstream>

#include "analysis/machine_files.h"
#include "support/test_files.h"

using namespace brannock;
using namespace brannock::analysis;

TEST(MachineFiles, ServerValuesAsTheFilesTheyName) {
  const std::filesystem::path drive = brannock::testing::FreshTestDir("machine-files");
  for (const char* file : {"Program Files/App Dir/app.exe", "windows/system32/ole32.dll", "tools/x.exe"}) {
    std::filesystem::create_directories((drive / file).parent_path());
    std::ofstream(drive / file) << "x";
  }
  typelib::PathMapper mapper;
  mapper.AddDrive(u'C', drive);
  MachineFiles files(mapper, false, u"C:\\windows\\system32", u"C:\\windows");
  auto found = [&](TextView value) {
    const ServerFile f = FindServerFile(value, files);
    const char* p = f.presence == Presence::Present ? "present" : f.presence == Presence::Missing ? "missing" : "unknown";
    return Utf16ToUtf8(f.path) + " " + p;
  };
  // Quoted, with blanks and arguments, as the system cuts an unquoted one.
  EXPECT_EQ(found(u"\"C:\\Program Files\\App Dir\\app.exe\" /automation"), "C:\\Program Files\\App Dir\\app.exe present");
  EXPECT_EQ(found(u"C:\\Program Files\\App Dir\\app.exe -Embedding"), "C:\\Program Files\\App Dir\\app.exe present");
  EXPECT_EQ(found(u"C:\\tools\\x.exe"), "C:\\tools\\x.exe present");
  EXPECT_EQ(found(u"c:/TOOLS/X.EXE"), "c:/TOOLS/X.EXE present");
  EXPECT_EQ(found(u"C:\\Program Files\\Gone\\gone.exe /x /y"), "C:\\Program Files\\Gone\\gone.exe missing");
  EXPECT_EQ(found(u"C:\\gone.dll"), "C:\\gone.dll missing");
  // Bare names from the system folder, then the Windows folder.
  EXPECT_EQ(found(u"OLE32.DLL"), "OLE32.DLL present");
  EXPECT_EQ(found(u"nothere.dll"), "nothere.dll missing");
  // A drive nobody mapped, and a relative path: not checked.
  EXPECT_EQ(found(u"D:\\x.dll"), "D:\\x.dll unknown");
  EXPECT_EQ(found(u"sub\\x.dll"), "sub\\x.dll unknown");
  EXPECT_EQ(found(u"\\\\server\\share\\x.dll"), "\\\\server\\share\\x.dll unknown");
  EXPECT_TRUE(files.CanCheck());
  EXPECT_FALSE(MachineFiles({}, false, u"C:\\windows\\system32", u"C:\\windows").CanCheck());
  std::filesystem::remove_all(drive);
}

TEST(MachineFiles, PlacesAnyUserMayWrite) {
  for (TextView path : {u"C:\\Users\\Public\\x.dll", u"c:\\users\\bob\\AppData\\Local\\x.dll",
                        u"C:\\Documents and Settings\\bob\\x.dll", u"D:\\ProgramData\\Vendor\\x.dll",
                        u"C:\\Windows\\Temp\\x.dll", u"C:\\Temp\\x.dll", u"\\\\?\\C:\\Users\\x.dll",
                        u"\"C:\\Users\\x.dll\"", u"%TEMP%\\x.dll", u"%AppData%\\x.dll"})
    EXPECT_TRUE(InUserWritablePlace(path)) << Utf16ToUtf8(path);
  for (TextView path : {u"C:\\Windows\\System32\\x.dll", u"C:\\Program Files\\Users\\x.dll", u"C:\\UsersX\\x.dll",
                        u"x.dll", u"%SystemRoot%\\x.dll", u"\\\\server\\Users\\x.dll"})
    EXPECT_FALSE(InUserWritablePlace(path)) << Utf16ToUtf8(path);
}
