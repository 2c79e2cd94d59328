// Registered and imported paths in every form Windows takes, and what a
// failed load says about the file it could not find.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/files.h"
#include "registry/memory_store.h"
#include "support/test_files.h"
#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

using namespace testing;
namespace fs = std::filesystem;

TEST(ReaderPaths, PlainFormsOfWindowsPaths) {
  EXPECT_EQ(PlainWindowsPath(u"C:\\a\\b.tlb"), u"C:\\a\\b.tlb");
  EXPECT_EQ(PlainWindowsPath(u"c:/a/b.tlb"), u"c:\\a\\b.tlb");
  EXPECT_EQ(PlainWindowsPath(u"\\\\?\\C:\\windows\\system32\\stdole2.tlb"), u"C:\\windows\\system32\\stdole2.tlb");
  EXPECT_EQ(PlainWindowsPath(u"\\\\.\\C:\\x.dll"), u"C:\\x.dll");
  EXPECT_EQ(PlainWindowsPath(u"\\\\?\\UNC\\server\\share\\x.dll"), u"\\\\server\\share\\x.dll");
  EXPECT_EQ(PlainWindowsPath(u"\\\\?\\unc\\server\\share\\x.dll"), u"\\\\server\\share\\x.dll");
  EXPECT_EQ(PlainWindowsPath(u"  \"C:\\Program Files\\x.dll\"  "), u"C:\\Program Files\\x.dll");
  EXPECT_EQ(PlainWindowsPath(u"//server/share/x.dll"), u"\\\\server\\share\\x.dll");

  EXPECT_EQ(WindowsPathRoot(u"c:\\x"), u"C:");
  EXPECT_EQ(WindowsPathRoot(u"\\\\server\\share\\x\\y"), u"\\\\server\\share");
  EXPECT_EQ(WindowsPathRoot(u"\\\\server\\share"), u"\\\\server\\share");
  for (const char16_t* rootless : {u"x.dll", u"C:x.dll", u"\\x.dll", u"\\\\server", u"\\\\server\\", u"1:\\x"})
    EXPECT_EQ(WindowsPathRoot(rootless), u"") << Utf16ToUtf8(rootless);

  EXPECT_EQ(DriveOptionHint(u"C:\\Users\\x\\x.dll"), u"--drive C=DIR");
  EXPECT_EQ(DriveOptionHint(u"\\\\?\\d:\\x.dll"), u"--drive D=DIR");
  EXPECT_EQ(DriveOptionHint(u"\\\\?\\UNC\\srv\\tools\\x.dll"), u"--drive \\\\srv\\tools=DIR");
  EXPECT_EQ(DriveOptionHint(u"x.dll"), u"");
}

class ReaderPathsOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = brannock::testing::FreshTestDir("brannock-reader-paths");  // ctest runs the cases of this suite side by side
    fs::create_directories(root_ / "c" / "Windows" / "System32");
    fs::create_directories(root_ / "share" / "Libs");
    fs::create_directories(root_ / "own");
  }
  void TearDown() override { fs::remove_all(root_); }
  void Put(const char* fixture, const fs::path& where) {
    fs::copy_file(Fixture(fixture), where, fs::copy_options::overwrite_existing);
  }
  fs::path root_;
};

TEST_F(ReaderPathsOnDisk, EveryRegisteredFormLoads) {
  REQUIRE_TLB_FIXTURES();
  Put("shapes.tlb", root_ / "share" / "Libs" / "Shapes.tlb");
  Put("minimal.tlb", root_ / "c" / "Windows" / "System32" / "minimal.tlb");
  Put("stdole2.tlb", root_ / "c" / "Windows" / "System32" / "stdole2.tlb");
  PathMapper mapper;
  mapper.AddDrive(u'C', root_ / "c");
  ASSERT_TRUE(mapper.AddDriveOption(u"\\\\Server\\Share=" + platform::HostPathText(root_ / "share")));
  EXPECT_FALSE(mapper.AddDriveOption(u"\\\\server=/tmp")) << "a server without a share";
  EXPECT_FALSE(mapper.AddDriveOption(u"\\\\server\\share\\sub=/tmp")) << "only whole shares map";

  const Guid guid = TextToGuid(u"{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}");
  registry::MemoryStore store;
  const std::pair<const char16_t*, const char16_t*> forms[] = {
      {u"1.0", u"C:\\windows\\system32\\minimal.tlb"},
      {u"1.1", u"\\\\?\\C:\\windows\\system32\\minimal.tlb"},
      {u"1.2", u"\"C:\\windows\\system32\\minimal.tlb\""},
      {u"1.3", u"c:/windows/system32/MINIMAL.TLB"},
      {u"1.4", u"%SystemRoot%\\System32\\minimal.tlb"},
      {u"1.5", u"\\\\server\\share\\libs\\shapes.tlb"},
      {u"1.6", u"\\\\?\\UNC\\SERVER\\share\\Libs\\Shapes.tlb\\1"},
  };
  for (const auto& [version, path] : forms)
    store.SetString(registry::RootKey::ClassesRoot, u"TypeLib\\" + GuidToText(guid) + u"\\" + version + u"\\0\\win32",
                    u"", path, version == Text(u"1.4") ? registry::RegType::ExpandSz : registry::RegType::Sz);
  FileTypeLibLoader loader(&store, mapper);
  for (const auto& [version, path] : forms) {
    std::shared_ptr<TypeLib> lib;
    const uint16_t minor = static_cast<uint16_t>(version[2] - u'0');
    EXPECT_EQ(loader.LoadRegTypeLib(guid, 1, minor, 0, &lib), S_OK_) << Utf16ToUtf8(path);
    EXPECT_EQ(loader.FailureDetail(), u"");
  }

  // The environment of the registry source, not the host's, expands
  // REG_EXPAND_SZ paths.
  store.SetWindowsEnvironment({u"SystemRoot=C:\\NoWindows"});
  FileTypeLibLoader otherRoot(&store, mapper);
  std::shared_ptr<TypeLib> lib;
  EXPECT_EQ(otherRoot.LoadRegTypeLib(guid, 1, 4, 0, &lib), Code::TypeCantLoadLibrary);
  EXPECT_EQ(otherRoot.FailureDetail(), u"File not found: C:\\NoWindows\\System32\\minimal.tlb");
}

TEST_F(ReaderPathsOnDisk, ImportsByRegistrationInAnyFormThenByFileName) {
  REQUIRE_TLB_FIXTURES();
  // shapes.tlb imports stdole2.tlb; nothing lies beside it in its own folder.
  Put("shapes.tlb", root_ / "own" / "shapes.tlb");
  Put("stdole2.tlb", root_ / "c" / "Windows" / "System32" / "stdole2.tlb");
  PathMapper mapper;
  mapper.AddDrive(u'C', root_ / "c");
  const Text stdoleKey = u"TypeLib\\{00020430-0000-0000-C000-000000000046}\\2.0\\0\\win32";

  // The count of described functions of the dual IShape's dispatch view:
  // all of them once IDispatch is found, only its own ones otherwise.
  auto described = [&](registry::MemoryStore* store) {
    FileTypeLibLoader loader(store, mapper);
    std::shared_ptr<TypeLib> lib;
    EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(root_ / "own" / "shapes.tlb"), &lib), S_OK_);
    auto shape = TypeAt(*lib, 7);
    const TypeAttr attr = AttrOf(*shape);
    int count = 0;
    FuncDesc f;
    for (unsigned i = 0; i < attr.cFuncs; ++i) count += Succeeded(shape->GetFuncDesc(i, &f)) ? 1 : 0;
    return std::make_pair(count, int{attr.cFuncs});
  };
  for (const char16_t* registered : {u"C:\\windows\\system32\\stdole2.tlb",
                                     u"\\\\?\\C:\\windows\\system32\\stdole2.tlb"}) {
    registry::MemoryStore store;
    store.SetString(registry::RootKey::ClassesRoot, stdoleKey, u"", registered);
    const auto [count, total] = described(&store);
    EXPECT_EQ(count, total) << Utf16ToUtf8(registered);
    EXPECT_GT(total, 7);
  }
  // Not registered: the bare file name is found in the system folder.
  const auto [bare, total] = described(nullptr);
  EXPECT_EQ(bare, total);
  // Nowhere at all: the inherited functions cannot be described.
  fs::remove(root_ / "c" / "Windows" / "System32" / "stdole2.tlb");
  const auto [missing, count] = described(nullptr);
  EXPECT_EQ(missing, count - 7);
}

}  // namespace
}  // namespace brannock::typelib
