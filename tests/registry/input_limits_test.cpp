// The limits against hostile input of the registry file readers.
#include "registry/input_limits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "registry/hive_store.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_source.h"
#include "registry/wine_reg_parser.h"
#include "registry_files_support.h"
#include "support/test_files.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

TEST(InputLimits, KeysValuesAndDataOfOneKey) {
  MemoryStore store;
  MemoryStore::Node& key = store.Root(RootKey::ClassesRoot);
  for (int i = 0; i < 3; ++i) AddChildWithinLimits(key, u"K" + IntToText(i), 3);
  EXPECT_NE(AddChildWithinLimits(key, u"k1", 3), nullptr);  // an existing one, any case
  EXPECT_THROW(AddChildWithinLimits(key, u"K3", 3), InputLimitExceeded);
  EXPECT_EQ(key.Children().size(), 3u);

  SetValueWithinLimits(key, u"big", RegType::Binary, Bytes(kMaxValueBytes, 1));
  EXPECT_THROW(SetValueWithinLimits(key, u"bigger", RegType::Binary, Bytes(kMaxValueBytes + 1, 1)),
               InputLimitExceeded);
  EXPECT_EQ(key.FindValue(u"bigger"), nullptr);
  SetValueWithinLimits(key, u"second", RegType::Sz, {}, 2);
  SetValueWithinLimits(key, u"BIG", RegType::Sz, {}, 2);  // the same value again
  try {
    SetValueWithinLimits(key, u"third", RegType::Sz, {}, 2);
    ADD_FAILURE() << "no limit";
  } catch (const InputLimitExceeded& e) {
    EXPECT_STREQ(e.what(), "a key has more than 2 values");
  }
  EXPECT_EQ(key.Values().size(), 2u);
}

TEST(InputLimits, RegistryFilesOverOneGibibyteAreNotRead) {
  const std::filesystem::path dir = FreshTestDir("brannock-limits");
  // Sparse files: nothing is written but the size.
  for (const char* name : {"huge.reg", "huge.hiv"}) {
    if (std::string_view(name).ends_with(".hiv") && !HiveSupported()) continue;  // a build without hivex
    std::ofstream(dir / name) << "REGEDIT4\r\n";
    std::filesystem::resize_file(dir / name, kMaxRegistryFileBytes + 1);
    const std::string error = ParseErrorOf([&] { OpenRegistryPath(dir / name); });
    EXPECT_NE(error.find(": the file is larger than the 1 GiB a registry file may have (1073741825 bytes)"),
              std::string::npos)
        << error;
  }
  std::filesystem::create_directories(dir / "prefix");
  std::ofstream(dir / "prefix" / "system.reg") << "WINE REGISTRY Version 2\n";
  std::filesystem::resize_file(dir / "prefix" / "system.reg", kMaxRegistryFileBytes + 1);
  EXPECT_NE(ParseErrorOf([&] { OpenRegistryPath(dir / "prefix"); }).find("larger than the 1 GiB"), std::string::npos);
  std::filesystem::remove_all(dir);
}
