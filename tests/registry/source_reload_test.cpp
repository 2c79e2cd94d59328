// A file source read again when its files changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "registry/registry_reader.h"
#include "registry/registry_source.h"
#include "registry_files_support.h"
#include "support/test_files.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {

TextList Classes(RegistryBackend& backend) {
  RegistryReader reader = RegistryReader::ProcessView(backend);
  TextList names;
  if (reader.OpenKeyReadOnly(u"CLSID")) reader.GetKeyNames(names);
  return names;
}

}  // namespace

TEST(RegistrySource, ReloadsAFileSourceWhoseFilesChanged) {
  const std::filesystem::path dir = FreshTestDir("brannock-reload");
  const std::filesystem::path reg = dir / "x.reg";
  std::ofstream(reg, std::ios::binary) << "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n";
  RegistrySource source = OpenRegistryPath(reg);
  RegistryBackend* const backend = source.backend.get();
  EXPECT_FALSE(source.ReloadIfChanged());  // nothing changed
  EXPECT_EQ(Classes(*backend), TextList{u"{A}"});

  std::ofstream(reg, std::ios::binary | std::ios::app) << "[HKEY_CLASSES_ROOT\\CLSID\\{B}]\r\n";
  EXPECT_TRUE(source.ReloadIfChanged());
  EXPECT_EQ(source.backend.get(), backend);  // the same object, new contents
  EXPECT_EQ(Classes(*backend), (TextList{u"{A}", u"{B}"}));
  EXPECT_FALSE(source.ReloadIfChanged());

  // Only the time changed: read again too. A file that no longer parses
  // raises, and the source keeps what it held.
  std::filesystem::last_write_time(reg, std::filesystem::last_write_time(reg) + std::chrono::seconds(5));
  EXPECT_TRUE(source.ReloadIfChanged());
  std::ofstream(reg, std::ios::binary) << "not a registry file";
  EXPECT_NE(ParseErrorOf([&] { source.ReloadIfChanged(); }), "(no error)");
  EXPECT_EQ(Classes(*backend), (TextList{u"{A}", u"{B}"}));

  // A Wine prefix watches both of its files; the demo registry never reloads.
  std::filesystem::create_directories(dir / "prefix");
  std::ofstream(dir / "prefix" / "system.reg") << "WINE REGISTRY Version 2\n";
  RegistrySource prefix = OpenRegistryPath(dir / "prefix");
  std::ofstream(dir / "prefix" / "user.reg") << "WINE REGISTRY Version 2\n\n[Software\\\\Classes\\\\CLSID\\\\{U}] 1\n";
  EXPECT_TRUE(prefix.ReloadIfChanged());
  EXPECT_EQ(Classes(*prefix.backend), TextList{u"{U}"});
  RegistrySource demo = OpenDemoRegistry();
  EXPECT_FALSE(demo.ReloadIfChanged());
  std::filesystem::remove_all(dir);
}
