// Loading by file name and by registration; Windows paths mapped to host
// files.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_reading.h"
#include "platform/files.h"
#include "registry/memory_store.h"
#include "typelib/pe_resources.h"
#include "typelib/reader_fixtures.h"
#include "typelib/wow64_paths.h"

namespace brannock::typelib {
namespace {

using namespace testing;
namespace fs = std::filesystem;

class TempDir {
 public:
  explicit TempDir(const char* name) : path_(fs::temp_directory_path() / name) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

Text LibName(TypeLib& lib) {
  Documentation doc;
  EXPECT_EQ(lib.GetDocumentation(-1, &doc), S_OK_);
  return doc.name;
}

TEST(ReaderLoader, SplitResourceSuffix) {
  ResourceSuffix s = SplitResourceSuffix(u"C:\\x\\lib.dll\\2");
  EXPECT_EQ(s.path, u"C:\\x\\lib.dll");
  EXPECT_EQ(s.resource, std::optional<uint16_t>(2));
  s = SplitResourceSuffix(u"/host/lib.dll/12");
  EXPECT_EQ(s.path, u"/host/lib.dll");
  EXPECT_EQ(s.resource, std::optional<uint16_t>(12));
  for (const char16_t* plain : {u"C:\\x\\lib.dll", u"C:\\x\\2a", u"lib\\", u"2", u"C:\\x\\99999999"}) {
    s = SplitResourceSuffix(plain);
    EXPECT_EQ(s.path, plain);
    EXPECT_FALSE(s.resource) << Utf16ToUtf8(plain);
  }
}

TEST(ReaderLoader, LoadTypeLibFailureCodes) {
  REQUIRE_TLB_FIXTURES();
  TempDir dir("brannock-reader-codes");
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> lib;
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(dir.path() / "missing.tlb"), &lib), Code::TypeCantLoadLibrary);
  EXPECT_EQ(loader.LoadTypeLib(u"", &lib), Code::TypeCantLoadLibrary);
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(dir.path()), &lib), Code::TypeCantLoadLibrary) << "a folder";
  WriteFile(dir.path() / "text.tlb", "hello, this is no type library");
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(dir.path() / "text.tlb"), &lib), Code::TypeCantLoadLibrary);
  WriteFile(dir.path() / "short.tlb", std::string("MSFT\x02\x00\x01\x00", 8));
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(dir.path() / "short.tlb"), &lib), Code::TypeInvDataRead);
  EXPECT_FALSE(lib);
  WriteFile(dir.path() / "old.tlb", std::string("SLTG\x01\x00\x00\x00", 8));
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(dir.path() / "old.tlb"), &lib), Code::TypeInvDataRead)
      << "an SLTG header cut short";
  EXPECT_FALSE(loader.FileExists(platform::HostPathText(dir.path() / "missing.tlb")));
  EXPECT_TRUE(loader.FileExists(platform::HostPathText(dir.path() / "text.tlb")));
  EXPECT_TRUE(loader.FileExists(platform::HostPathText(dir.path() / "text.tlb") + u"\\2")) << "a resource of an existing file";
  EXPECT_FALSE(loader.FileExists(platform::HostPathText(dir.path() / "missing.tlb") + u"\\2"));

  // A file over 256 MiB is not read at all (a sparse file: only its size).
  std::filesystem::copy_file(Fixture("minimal.tlb"), dir.path() / "huge.tlb");
  std::filesystem::resize_file(dir.path() / "huge.tlb", kMaxTypeLibFileBytes + 1);
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(dir.path() / "huge.tlb"), &lib), Code::TypeCantLoadLibrary);
  std::filesystem::remove(dir.path() / "huge.tlb");

  // A plain MSFT file also loads under a name with a resource suffix.
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(Fixture("minimal.tlb")) + u"\\1", &lib), S_OK_);
  EXPECT_EQ(LibName(*lib), u"MinimalLib");
}

// HKEY_CLASSES_ROOT\TypeLib\{GUID}\VERSION\LCID\PLATFORM = path
void Register(registry::MemoryStore& store, const Guid& guid, const char16_t* version, const char16_t* lcid,
              const char16_t* platform, const Text& path) {
  store.SetString(registry::RootKey::ClassesRoot,
                  u"TypeLib\\" + GuidToText(guid) + u"\\" + version + u"\\" + lcid + u"\\" + platform, u"", path);
}

TEST(ReaderLoader, LoadRegTypeLibVersionAndLocaleRules) {
  REQUIRE_TLB_FIXTURES();
  const Guid guid = TextToGuid(u"{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}");
  const Text shapes = platform::HostPathText(Fixture("shapes.tlb"));
  const Text minimal = platform::HostPathText(Fixture("minimal.tlb"));
  registry::MemoryStore store;
  Register(store, guid, u"2.5", u"0", u"win32", shapes);
  Register(store, guid, u"2.5", u"0", u"win64", minimal);
  Register(store, guid, u"2.a", u"9", u"win64", minimal);
  Register(store, guid, u"2.8", u"0", u"win32", shapes);
  Register(store, guid, u"3.0", u"0", u"win32", u"/nowhere/gone.tlb");
  Register(store, guid, u"4.0", u"409", u"win32", shapes);
  Register(store, guid, u"5.0", u"0", u"win16", shapes);
  Register(store, guid, u"6.0", u"0", u"Win64", u"C:\\TLB\\SHAPES.TLB");
  PathMapper mapper;
  mapper.AddDrive(u'c', Fixture("shapes.tlb").parent_path().parent_path());
  FileTypeLibLoader loader(&store, mapper);

  std::shared_ptr<TypeLib> lib;
  ASSERT_EQ(loader.LoadRegTypeLib(guid, 2, 5, 0x800, &lib), S_OK_);
  EXPECT_EQ(LibName(*lib), u"MinimalLib") << "exact version, win64 before win32 in the 64-bit view";
  FileTypeLibLoader loader32(&store, mapper, registry::RegistryView::Bits32);
  ASSERT_EQ(loader32.LoadRegTypeLib(guid, 2, 5, 0x800, &lib), S_OK_);
  EXPECT_EQ(LibName(*lib), u"ShapeLib") << "win32 before win64 in the 32-bit view";
  ASSERT_EQ(loader.LoadRegTypeLib(guid, 2, 6, 0x409, &lib), S_OK_);
  EXPECT_EQ(LibName(*lib), u"MinimalLib") << "highest minor above the requested one; locale by its language";
  ASSERT_EQ(loader.LoadRegTypeLib(guid, 2, 0, 0x409, &lib), S_OK_);
  EXPECT_EQ(LibName(*lib), u"MinimalLib");
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 2, 6, 0x407, &lib), Code::TypeLibNotRegistered)
      << "2.a has only locale 9, 2.8 is not the highest minor";
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 2, 11, 0, &lib), Code::TypeLibNotRegistered) << "no higher minor";
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 1, 0, 0, &lib), Code::TypeLibNotRegistered);
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 3, 0, 0, &lib), Code::TypeCantLoadLibrary) << "registered file missing";
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 4, 0, 0x409, &lib), S_OK_);
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 4, 0, 0x800, &lib), Code::TypeLibNotRegistered);
  EXPECT_EQ(loader.LoadRegTypeLib(guid, 5, 0, 0, &lib), Code::TypeLibNotRegistered) << "win16 only";
  ASSERT_EQ(loader.LoadRegTypeLib(guid, 6, 0, 0x800, &lib), S_OK_) << "Windows path through the drive mapping";
  EXPECT_EQ(LibName(*lib), u"ShapeLib");
  EXPECT_EQ(loader.LoadRegTypeLib(TextToGuid(u"{00000000-0000-0000-0000-000000000001}"), 1, 0, 0, &lib),
            Code::TypeLibNotRegistered);

  Text path;
  ASSERT_EQ(loader.QueryPathOfRegTypeLib(guid, 6, 0, 0, &path), S_OK_);
  EXPECT_EQ(path, u"C:\\TLB\\SHAPES.TLB");
  EXPECT_TRUE(loader.FileExists(u"c:\\tlb\\shapes.tlb"));

  FileTypeLibLoader unregistered(nullptr, PathMapper());
  EXPECT_EQ(unregistered.LoadRegTypeLib(guid, 2, 5, 0, &lib), Code::TypeLibNotRegistered);
}

TEST(ReaderLoader, RegisteredFilesAsEachViewSeesThem) {
  EXPECT_EQ(RedirectToWow64Dir(u"C:\\Windows\\System32\\x.tlb"), u"C:\\windows\\syswow64\\x.tlb");
  EXPECT_EQ(RedirectToWow64Dir(u"\\\\?\\c:/windows/system32/x.tlb"), u"\\\\?\\C:\\windows\\syswow64/x.tlb");
  EXPECT_EQ(RedirectToWow64Dir(u"C:\\windows\\system32"), u"C:\\windows\\syswow64");
  for (const char16_t* kept : {u"C:\\windows\\system32x\\x.tlb", u"D:\\windows\\system32\\x.tlb",
                               u"C:\\windows\\syswow64\\x.tlb", u"x.tlb", u"C:\\windows\\sys"})
    EXPECT_EQ(RedirectToWow64Dir(kept), kept);
  EXPECT_EQ(RedirectToWow64Dir(u"E:\\Win\\System32\\y.dll", u"e:\\win\\system32", u"E:\\Win\\SysWOW64"),
            u"E:\\Win\\SysWOW64\\y.dll");

  // A library registered for 32-bit programs only, in the system folder: its
  // file is in SysWOW64, where a 32-bit program finds it.
  REQUIRE_TLB_FIXTURES();
  TempDir drive("brannock-reader-wow64");
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(Fixture("minimal.tlb"), kMaxTypeLibFileBytes, &bytes));
  WriteFile(drive.path() / "windows" / "syswow64" / "only32.tlb", std::string(bytes.begin(), bytes.end()));
  const Guid guid = TextToGuid(u"{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}");
  registry::MemoryStore store;
  Register(store, guid, u"1.0", u"0", u"win32", u"C:\\windows\\system32\\only32.tlb");
  PathMapper mapper;
  mapper.AddDrive(u'C', drive.path());
  std::shared_ptr<TypeLib> lib;
  FileTypeLibLoader view32(&store, mapper, registry::RegistryView::Bits32);
  ASSERT_EQ(view32.LoadRegTypeLib(guid, 1, 0, 0x800, &lib), S_OK_);
  EXPECT_EQ(LibName(*lib), u"MinimalLib");
  EXPECT_TRUE(view32.FileExists(u"C:\\windows\\system32\\only32.tlb"));
  EXPECT_EQ(view32.LoadTypeLib(u"only32.tlb", &lib), S_OK_) << "a bare name in the 32-bit system folder";
  // The 64-bit view falls back to "win32" but opens the file in system32.
  FileTypeLibLoader view64(&store, mapper, registry::RegistryView::Bits64);
  EXPECT_EQ(view64.LoadRegTypeLib(guid, 1, 0, 0x800, &lib), Code::TypeCantLoadLibrary);
  EXPECT_FALSE(view64.FileExists(u"C:\\windows\\system32\\only32.tlb"));
  // On 32-bit Windows system32 is the 32-bit system folder itself.
  store.SetMachineView(registry::RegistryView::Bits32);
  FileTypeLibLoader native32(&store, mapper, registry::RegistryView::Bits32);
  EXPECT_EQ(native32.LoadRegTypeLib(guid, 1, 0, 0x800, &lib), Code::TypeCantLoadLibrary);
  // The registration is read in the loader's view, where TypeLib is a
  // shared key: a store with 32-bit classes still shows it.
  registry::MemoryStore split;
  split.SetString(registry::RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\x", u"", u"y");
  Register(split, guid, u"1.0", u"0", u"win32", u"C:\\windows\\system32\\only32.tlb");
  FileTypeLibLoader shared(&split, mapper, registry::RegistryView::Bits32);
  EXPECT_EQ(shared.LoadRegTypeLib(guid, 1, 0, 0x800, &lib), S_OK_) << "TypeLib is shared by both views";
}

TEST(ReaderLoader, EmbeddedLibrariesOfWinePeFiles) {
  if (WinePeDir().empty()) GTEST_SKIP() << "Wine not found";
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> lib;
  const Text stdole = platform::HostPathText(WinePeDir() / "stdole2.tlb");
  ASSERT_EQ(loader.LoadTypeLib(stdole, &lib), S_OK_) << "a resource-only DLL";
  EXPECT_EQ(LibName(*lib), u"stdole");
  ASSERT_EQ(loader.LoadTypeLib(stdole + u"/1", &lib), S_OK_);
  EXPECT_EQ(loader.LoadTypeLib(stdole + u"/2", &lib), Code::TypeCantLoadLibrary) << "no resource 2";

  const fs::path scrrun = WinePeDir() / "scrrun.dll";
  if (fs::exists(scrrun)) {
    ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(scrrun), &lib), S_OK_);
    EXPECT_EQ(LibName(*lib), u"Scripting");
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(WinePeDir() / "stdole2.tlb", kMaxTypeLibFileBytes, &bytes));
  EXPECT_TRUE(IsPeFile(bytes));
  std::vector<ResourceId> names;
  ASSERT_EQ(ListPeResources(bytes, Text(u"typelib"), &names), PeError::None) << "type names ignore case";
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(std::get<uint16_t>(names[0]), 1);
  ByteSpan data;
  EXPECT_EQ(FindPeResource(bytes, kRtGroupIcon, uint16_t{1}, &data), PeError::NotFound);
}

// A resource directory whose RVA lies in one section's virtual range but
// whose data runs past another's: found by fuzzing.
TEST(ReaderLoader, DamagedPeFileGivesFailureCodes) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(fs::path(BRANNOCK_TEST_DATA) / "pe" / "resource_section_overrun.dll",
                                      kMaxTypeLibFileBytes, &bytes));
  std::vector<ResourceId> names;
  EXPECT_NE(ListPeResources(bytes, kRtGroupIcon, &names), PeError::None);
  EXPECT_FALSE(ExtractIconFile(bytes, 0));
  std::shared_ptr<TypeLib> lib;
  EXPECT_TRUE(Failed(OpenTypeLibBytes(bytes, 1, nullptr, &lib)));
}

TEST(ReaderLoader, IconsOfWinePeFiles) {
  if (WinePeDir().empty()) GTEST_SKIP() << "Wine not found";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(WinePeDir() / "notepad.exe", kMaxTypeLibFileBytes, &bytes));
  std::vector<ResourceId> groups;
  ASSERT_EQ(ListPeResources(bytes, kRtGroupIcon, &groups), PeError::None);
  ASSERT_FALSE(groups.empty());
  auto ico = ExtractIconFile(bytes, 0);
  ASSERT_TRUE(ico);
  ByteReader r(*ico);
  uint16_t reserved = 9, type = 0, count = 0;
  ASSERT_EQ(r.Read(&reserved), ReadStatus::Ok);
  ASSERT_EQ(r.Read(&type), ReadStatus::Ok);
  ASSERT_EQ(r.Read(&count), ReadStatus::Ok);
  EXPECT_EQ(reserved, 0);
  EXPECT_EQ(type, 1);
  ASSERT_GT(count, 0);
  size_t expectedOffset = 6 + 16u * count;
  for (uint16_t i = 0; i < count; ++i) {
    uint8_t dims[4];
    uint16_t planes, bits;
    uint32_t size, offset;
    ASSERT_EQ(r.Read(&dims), ReadStatus::Ok);
    ASSERT_EQ(r.Read(&planes), ReadStatus::Ok);
    ASSERT_EQ(r.Read(&bits), ReadStatus::Ok);
    ASSERT_EQ(r.Read(&size), ReadStatus::Ok);
    ASSERT_EQ(r.Read(&offset), ReadStatus::Ok);
    EXPECT_EQ(offset, expectedOffset) << "images follow the directory in order";
    expectedOffset += size;
  }
  EXPECT_EQ(expectedOffset, ico->size());
  if (groups[0].index() == 0) {
    auto byId = ExtractIconFile(bytes, -static_cast<int>(std::get<uint16_t>(groups[0])));
    ASSERT_TRUE(byId);
    EXPECT_EQ(*byId, *ico) << "a negative index names the group's resource number";
  }
  EXPECT_FALSE(ExtractIconFile(bytes, static_cast<int>(groups.size())));
  EXPECT_FALSE(ExtractIconFile(bytes, -30000));
  const std::vector<uint8_t> text = {'M', 'Z', 0, 0};
  EXPECT_FALSE(ExtractIconFile(text, 0));
}

}  // namespace
}  // namespace brannock::typelib
