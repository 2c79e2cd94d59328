// Snapshots of hives (hivex builds them from real REGF files).
#include <gtest/gtest.h>
#include <unistd.h>

#include "hive_writer_support.h"
#include "registry/registry_snapshot.h"
#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

TEST(RegistrySnapshot, AHiveGivesTheMachinesClassesAndASoftwareHiveItsOleKey) {
  const auto dir = std::filesystem::temp_directory_path() / ("brannock-snaphive-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  MemoryStore::Node software;
  MemoryStore::Node* classes = software.AddChild(u"Classes");
  classes->AddChild(u"CLSID")->AddChild(u"{C1}")->SetValue(u"", RegType::Sz, MemoryStore::TextData(u"one"));
  classes->AddChild(u"Wow6432Node")->AddChild(u"CLSID")->AddChild(u"{C32}");
  software.AddChild(u"Microsoft")->AddChild(u"Ole")->SetValue(u"DefaultLaunchPermission", RegType::Binary, {1, 0, 4});
  software.AddChild(u"Vendor");
  WriteHive(software, dir / "SOFTWARE");
  WriteHive(*classes, dir / "classes.hiv");

  for (const char* name : {"SOFTWARE", "classes.hiv"}) {
    RegistrySource hive = OpenRegistryPath(dir / name);
    auto snapshot = ReadSnapshot(hive);
    EXPECT_EQ(DumpTree(*snapshot->Find(RootKey::LocalMachine, u"Software\\Classes")), DumpTree(*classes)) << name;
    EXPECT_EQ(snapshot->Find(RootKey::CurrentUser, u"Software\\Classes"), nullptr);
    const bool hasOle = snapshot->Find(RootKey::LocalMachine, u"Software\\Microsoft\\Ole") != nullptr;
    EXPECT_EQ(hasOle, std::string(name) == "SOFTWARE");

    SaveSnapshot(dir / "snapshot.reg", hive);
    RegistrySource back = OpenRegistryPath(dir / "snapshot.reg");
    EXPECT_EQ(DumpTree(static_cast<MemoryStore&>(*back.backend).Root(RootKey::ClassesRoot)),
              DumpTree(static_cast<MemoryStore&>(*hive.backend).Root(RootKey::ClassesRoot)))
        << name;
  }
  std::filesystem::remove_all(dir);
}
