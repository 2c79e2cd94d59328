#include "analysis/object_typelib.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "registry/memory_store.h"
#include "support/test_files.h"
#include "typelib/file_loader.h"
#include "typelib/memory_typelib.h"

namespace brannock::analysis {
namespace {

using namespace typelib;
using namespace typelib::testing;

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

// The file reader's loader as it is used: a failed load names the Windows
// path it looked for, and how to map its root.
TEST(LoadFailureText, NamesTheWindowsPathAndHowToMapIt) {
  const auto root = brannock::testing::FreshTestDir("brannock-load-failure");
  const Guid guid = TextToGuid(u"{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}");
  registry::MemoryStore store;
  const Text key = u"TypeLib\\" + GuidToText(guid);
  store.SetString(registry::RootKey::ClassesRoot, key + u"\\1.0\\0\\win32", u"", u"C:\\Users\\ann\\x.dll");
  store.SetString(registry::RootKey::ClassesRoot, key + u"\\2.0\\0\\win32", u"", u"D:\\Tools\\gone.tlb\\3");
  store.SetString(registry::RootKey::ClassesRoot, key + u"\\3.0\\0\\win32", u"", u"\\\\srv\\apps\\a.ocx");
  PathMapper mapper;
  mapper.AddDrive(u'D', root);
  FileTypeLibLoader loader(&store, mapper);

  TObjectData record;
  record.TypeLib = GuidToText(guid);
  record.MajorVersion = 1;
  std::shared_ptr<TypeLib> lib;
  HRESULT hr = LoadObjectTypeLib(record, loader, &lib);
  EXPECT_EQ(hr, Code::TypeCantLoadLibrary);
  const Text message = LoadFailureText(hr, loader);
  const size_t lineEnd = message.find(u'\n');
  ASSERT_NE(lineEnd, Text::npos);
  EXPECT_NE(message.find(u"(Error code: 0x80029C4A)"), Text::npos);
  EXPECT_LT(message.find(u"(Error code: 0x80029C4A)"), lineEnd) << "the code's text keeps its own line";
  EXPECT_EQ(message.substr(lineEnd + 1),
            u"File not found: C:\\Users\\ann\\x.dll (no host folder is mapped to C:; map one with --drive C=DIR)");

  record.MajorVersion = 2;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::TypeCantLoadLibrary);
  EXPECT_EQ(loader.FailureDetail(), u"File not found: D:\\Tools\\gone.tlb") << "D: is mapped: no hint";

  record.MajorVersion = 3;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::TypeCantLoadLibrary);
  EXPECT_EQ(loader.FailureDetail(), u"File not found: \\\\srv\\apps\\a.ocx (no host folder is mapped to "
                                    u"\\\\srv\\apps; map one with --drive \\\\srv\\apps=DIR)");

  record.MajorVersion = 4;
  EXPECT_EQ(LoadObjectTypeLib(record, loader, &lib), Code::TypeLibNotRegistered);
  EXPECT_EQ(loader.FailureDetail(), u"") << "nothing was looked for";
  EXPECT_EQ(LoadFailureText(Code::TypeLibNotRegistered, loader).find(u'\n'), Text::npos);
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace brannock::analysis
