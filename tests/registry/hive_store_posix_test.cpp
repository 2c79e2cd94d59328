#include "registry/hive_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "hive_writer_support.h"
#include "registry/registry_source.h"
#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

TEST(HiveStore, ReadsClassesHivesAndSoftwareHives) {
  ASSERT_TRUE(HiveSupported());
  const auto dir = std::filesystem::temp_directory_path() / ("brannock-hive-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  MemoryStore::Node classes;
  MemoryStore::Node* clsid = classes.AddChild(u"CLSID")->AddChild(u"{6F1A2B3C-0001-4D5E-8F90-A1B2C3D4E5F6}");
  clsid->SetValue(u"", RegType::Sz, MemoryStore::TextData(u"Démo class — 示例"));
  clsid->SetValue(u"Odd type", 0x9B, {1, 2, 3});
  clsid->SetValue(u"Empty", RegType::Binary, {});
  clsid->AddChild(u"InprocServer32")->SetValue(u"", RegType::ExpandSz, MemoryStore::TextData(u"%SystemRoot%\\x.dll"));
  classes.AddChild(u"TypeLib")->AddChild(u"{B7A4D2E1-1001-4C3B-9A8F-0E1D2C3B4A59}")->AddChild(u"1.0");
  classes.AddChild(u"Ünïcødé key");

  // The content of a classes key: it becomes HKEY_CLASSES_ROOT.
  WriteHive(classes, dir / "classes.hiv");
  MemoryStore store;
  LoadHive(dir / "classes.hiv", store);
  EXPECT_EQ(DumpTree(store.Root(RootKey::ClassesRoot)), DumpTree(classes));
  EXPECT_EQ(SubkeyNames(store, RootKey::ClassesRoot, u""), (TextList{u"CLSID", u"TypeLib", u"Ünïcødé key"}));

  // A SOFTWARE hive: its Classes key becomes HKEY_CLASSES_ROOT, the rest
  // stays below HKEY_LOCAL_MACHINE\Software.
  MemoryStore::Node software;
  software.AddChild(u"classes")->AddChild(u"AppID")->AddChild(u"demo.exe");
  software.AddChild(u"Vendor")->SetValue(u"Version", RegType::Dword, {1, 0, 0, 0});
  WriteHive(software, dir / "SOFTWARE");
  RegistrySource source = OpenRegistryPath(dir / "SOFTWARE");
  EXPECT_EQ(source.kind, RegistrySource::Kind::Hive);
  EXPECT_EQ(source.Description(), u"Hive " + PathForDisplay(dir / "SOFTWARE", HomeFolder()));
  auto& loaded = static_cast<MemoryStore&>(*source.backend);
  EXPECT_EQ(SubkeyNames(loaded, RootKey::ClassesRoot, u"AppID"), (TextList{u"demo.exe"}));
  EXPECT_NE(FindValue(loaded, RootKey::LocalMachine, u"Software\\Vendor", u"Version"), nullptr);
  EXPECT_EQ(loaded.Create(RootKey::ClassesRoot, u"X"), nullptr);

  // Files hivex refuses: the error names the file.
  const std::string notHive = ParseErrorOf([] { OpenRegistryPath(BRANNOCK_TEST_DATA "/registry/not_a_hive.hiv"); });
  EXPECT_EQ(notHive.rfind(BRANNOCK_TEST_DATA "/registry/not_a_hive.hiv: cannot open the hive: ", 0), 0u) << notHive;
  // A file that does not start like a hive: an export under another name,
  // an empty file.
  for (const char* text : {"Windows Registry Editor Version 5.00\r\n", ""}) {
    std::ofstream(dir / "export.dat", std::ios::binary) << text;
    const std::string other = ParseErrorOf([&] { OpenRegistryPath(dir / "export.dat"); });
    EXPECT_EQ(other, (dir / "export.dat").string() +
                         ": not a registry hive: it does not start with \"regf\" (a .reg export is read as one when "
                         "its name ends in .reg)")
        << other;
  }
  std::filesystem::resize_file(dir / "classes.hiv", 100);
  const std::string cut = ParseErrorOf([&] {
    MemoryStore s;
    LoadHive(dir / "classes.hiv", s);
  });
  EXPECT_EQ(cut.rfind((dir / "classes.hiv").string() + ": the hive is truncated: its header gives ", 0), 0u) << cut;
  EXPECT_NE(cut.find(" bytes, the file holds 100"), std::string::npos) << cut;
  std::filesystem::remove_all(dir);
}
