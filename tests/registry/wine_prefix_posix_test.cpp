// Reads the registry of a real Wine prefix (made by wineboot), and real REGF
// hives written from it. Takes a while the first time: wineboot runs once per
// build tree.
#include <gtest/gtest.h>

#include "hive_writer_support.h"
#include "registry/hive_store.h"
#include "registry/registry_reader.h"
#include "registry/registry_source.h"
#include "registry/wine_reg_parser.h"
#include "registry_files_support.h"
#include "wine_prefix_support.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {


size_t CountSubkeys(RegistryBackend& backend, TextView path) {
  auto reader = RegistryReader::ProcessView(backend);
  TextList names;
  if (reader.OpenKeyReadOnly(path)) reader.GetKeyNames(names);
  return names.size();
}

// Copies at most `limit` subkeys per key (and all values) of `from`.
void CopyLimited(const MemoryStore::Node& from, MemoryStore::Node& to, size_t limit) {
  to.Values() = from.Values();
  size_t n = 0;
  for (const auto& [key, child] : from.Children()) {
    if (n++ == limit) break;
    CopyLimited(*child, *to.AddChild(child->name), limit);
  }
}

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("brannock-" + std::to_string(::getpid()) + "-" + name);
}

}  // namespace

TEST(WinePrefix, ReadsTheRegistrationsOfARealPrefix) {
  const auto prefix = SharedWinePrefix();
  if (!prefix) GTEST_SKIP() << "Wine is not installed";
  RegistrySource source = OpenRegistryPath(*prefix);
  ASSERT_EQ(source.kind, RegistrySource::Kind::WinePrefix);
  RegistryBackend& b = *source.backend;
  EXPECT_GE(CountSubkeys(b, u"CLSID"), 300u);
  EXPECT_GE(CountSubkeys(b, u"Interface"), 1000u);
  EXPECT_GE(CountSubkeys(b, u"TypeLib"), 20u);
  EXPECT_GE(CountSubkeys(b, u"AppID"), 1u);

  auto reader = RegistryReader::ProcessView(b);
  // stdole: the OLE Automation type library, registered under win32 or win64.
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"TypeLib\\{00020430-0000-0000-C000-000000000046}\\2.0\\0"));
  TextList platforms;
  reader.GetKeyNames(platforms);
  ASSERT_FALSE(platforms.empty());
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"TypeLib\\{00020430-0000-0000-C000-000000000046}\\2.0\\0\\" + platforms[0]));
  EXPECT_NE(LowerAscii(reader.ReadString(u"")).find(u"stdole2.tlb"), Text::npos);
  // IDispatch with its proxy/stub class.
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"Interface\\{00020400-0000-0000-C000-000000000046}"));
  EXPECT_EQ(reader.ReadString(u""), u"IDispatch");
  EXPECT_TRUE(reader.KeyExists(u"Interface\\{00020400-0000-0000-C000-000000000046}\\ProxyStubClsid32"));
  // A class with its in-process server (the standard font object of oleaut32).
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"CLSID\\{0BE35203-8F91-11CE-9DE3-00AA004BB851}\\InprocServer32"));
  EXPECT_NE(LowerAscii(reader.ReadString(u"")).find(u"oleaut32.dll"), Text::npos);
}

TEST(WinePrefix, ReadsHivesWrittenFromThePrefix) {
  const auto prefix = SharedWinePrefix();
  if (!prefix) GTEST_SKIP() << "Wine is not installed";
  MemoryStore wine;
  LoadWinePrefix(*prefix, wine);

  // A hive of the classes key: CLSID, Interface, TypeLib... at its root.
  MemoryStore::Node classes;
  for (const TextView name : {u"AppID", u"CLSID", u"Interface", u"TypeLib"})
    CopyLimited(*wine.Find(CR, name), *classes.AddChild(name), 60);
  const auto classesFile = TempFile("classes.hiv");
  ASSERT_GT(WriteHive(classes, classesFile), 300u);
  RegistrySource fromHive = OpenRegistryPath(classesFile);
  EXPECT_EQ(fromHive.kind, RegistrySource::Kind::Hive);
  auto& hiveStore = static_cast<MemoryStore&>(*fromHive.backend);
  EXPECT_EQ(DumpTree(hiveStore.Root(CR)), DumpTree(classes));
  EXPECT_EQ(CountSubkeys(hiveStore, u"CLSID"), 60u);

  // A whole SOFTWARE hive: Classes at its root, other keys beside it.
  MemoryStore::Node software;
  CopyLimited(classes, *software.AddChild(u"Classes"), 20);
  CopyLimited(*wine.Find(RootKey::LocalMachine, u"Software\\Wine"), *software.AddChild(u"Wine"), 20);
  const auto softwareFile = TempFile("software.hiv");
  WriteHive(software, softwareFile);
  MemoryStore fromSoftware;
  LoadHive(softwareFile, fromSoftware);
  EXPECT_EQ(DumpTree(fromSoftware.Root(CR)), DumpTree(*software.FindChild(u"Classes")));
  EXPECT_EQ(DumpTree(*fromSoftware.Find(RootKey::LocalMachine, u"Software\\Wine")),
            DumpTree(*software.FindChild(u"Wine")));

  // A damaged hive: the error names the file.
  std::filesystem::resize_file(classesFile, 0x1800);
  const std::string message = ParseErrorOf([&] {
    MemoryStore damaged;
    LoadHive(classesFile, damaged);
  });
  EXPECT_EQ(message.rfind(classesFile.string() + ": ", 0), 0u) << message;
  std::filesystem::remove(classesFile);
  std::filesystem::remove(softwareFile);
}
