#include "typelib/object_typelib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/error.h"
#include "typelib/memory_typelib.h"

namespace brannock::typelib {
namespace {

using namespace testing;

const Text kGuidText = u"{00020430-0000-0000-C000-000000000046}";

TEST(LoadObjectTypeLib, RegistrationFirstThenFile) {
  auto registered = std::make_shared<MemoryTypeLib>(u"Registered");
  auto fromFile = std::make_shared<MemoryTypeLib>(u"FromFile");
  TObjectData record;
  record.TypeLib = kGuidText;
  record.MajorVersion = 0x10002;  // only the low 16 bits are handed over
  record.MinorVersion = 0xFFFF0003;
  record.Server = u"C:\\lib.tlb";

  MemoryLoader loader;
  loader.registered = registered;
  loader.fromFile = fromFile;
  loader.regResult = 0;
  loader.existingFiles = {record.Server};
  std::shared_ptr<TypeLib> lib;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), 0);
  EXPECT_EQ(lib, registered);
  ASSERT_EQ(loader.regCalls.size(), 1u);
  EXPECT_EQ(GuidToText(loader.regCalls[0].guid), kGuidText);
  EXPECT_EQ(loader.regCalls[0].major, 2);
  EXPECT_EQ(loader.regCalls[0].minor, 3);
  EXPECT_EQ(loader.regCalls[0].lcid, 0x0800u);
  EXPECT_TRUE(loader.fileCalls.empty());

  // Not registered in that version: the file follows.
  loader.regResult = Code::TypeLibNotRegistered;
  loader.fileResult = 0;
  lib = nullptr;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), 0);
  EXPECT_EQ(lib, fromFile);
  EXPECT_EQ(loader.fileCalls, TextList{record.Server});

  // Both failing: the file's code is the result.
  loader.fileResult = Code::TypeCantLoadLibrary;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::TypeCantLoadLibrary);

  // No file there: the registration's code stays.
  loader.existingFiles.clear();
  loader.fileCalls.clear();
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::TypeLibNotRegistered);
  EXPECT_TRUE(loader.fileCalls.empty());
}

TEST(LoadObjectTypeLib, RecordsWithoutRegistration) {
  MemoryLoader loader;
  std::shared_ptr<TypeLib> lib;
  TObjectData record;
  record.TypeLib = u" \t";
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::NotImpl);
  EXPECT_TRUE(loader.regCalls.empty());
  EXPECT_TRUE(loader.fileCalls.empty());

  record.Server = u"C:\\demo.tlb";
  loader.existingFiles = {record.Server};
  loader.fileResult = 0;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), 0);
  EXPECT_EQ(loader.fileCalls, TextList{u"C:\\demo.tlb"});

  // A name longer than the platform's buffer is handed over empty.
  record.Server = Text(1023, u'a');
  loader.existingFiles = {record.Server, Text(1022, u'b')};
  loader.fileResult = Code::InvalidArg;
  loader.fileCalls.clear();
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::InvalidArg);
  record.Server = Text(1022, u'b');
  LoadObjectTypeLib(record, loader, &lib);
  EXPECT_EQ(loader.fileCalls, (TextList{u"", Text(1022, u'b')}));
}

TEST(LoadObjectTypeLib, InvalidGuidTextRaises) {
  MemoryLoader loader;
  std::shared_ptr<TypeLib> lib;
  TObjectData record;
  record.TypeLib = u"not a guid";
  record.Server = u"C:\\demo.tlb";
  loader.existingFiles = {record.Server};
  EXPECT_THROW(LoadObjectTypeLib(record, loader, &lib), ConversionError);
  EXPECT_TRUE(loader.fileCalls.empty());
}

TEST(TypeLibLoader, DefaultFileTestUsesTheHostFileSystem) {
  MemoryLoader memory;
  TypeLibLoader& loader = memory;
  auto dir = std::filesystem::temp_directory_path() / ("brannock-render-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  auto file = dir / "lib.tlb";
  std::ofstream(file) << "x";
  EXPECT_TRUE(loader.TypeLibLoader::FileExists(Utf8ToUtf16(file.string())));
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(Utf8ToUtf16((dir / "missing.tlb").string())));
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(Utf8ToUtf16(dir.string())));
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(u""));
  EXPECT_TRUE(loader.TypeLibLoader::FileExists(Utf8ToUtf16(file.string()) + u"\\3")) << "resource 3 of the file";
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(Utf8ToUtf16((dir / "missing.tlb").string()) + u"\\3"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brannock::typelib
