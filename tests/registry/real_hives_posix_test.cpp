// The real hives of ../shared/fixtures/real/registry/hives, when that folder
// exists: the sound ones load, the damaged ones say what is wrong with the
// file.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "registry/hive_store.h"
#include "registry/registry_source.h"
#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

TEST(RealHives, SoundOnesLoadDamagedOnesSayWhatIsWrong) {
  const std::filesystem::path hives =
      std::filesystem::path(BRANNOCK_TEST_DATA).parent_path().parent_path().parent_path() / "shared" / "fixtures" /
      "real" / "registry" / "hives";
  if (!HiveSupported() || !std::filesystem::is_directory(hives)) GTEST_SKIP() << "no real hives here";
  // Damaged files name what is wrong with them, never a bare system error
  // such as "Bad address".
  const std::map<std::string, std::string> damaged = {
      {"plaso_corrupt_sub_key_list.hiv",
       ": cannot read the subkeys of a key: the hive is damaged: a record points outside the file"},
      {"yarp_TruncatedHive", ": the hive is truncated: its header gives 491520 bytes, the file holds 12288"},
      {"yarp_GarbageHive", ": cannot open the hive: the hive is damaged: a record is not what its place says"},
      {"NewDirtyHive.LOG1", ": cannot open the hive: the file holds hive data that cannot be read"},
      {"NewDirtyHive.LOG2", ": cannot open the hive: the file holds hive data that cannot be read"},
  };
  int sound = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(hives)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    const std::string error = ParseErrorOf([&] { OpenRegistryPath(entry.path()); });
    const auto it = damaged.find(name);
    if (it == damaged.end()) {
      EXPECT_EQ(error, "(no error)") << name;
      ++sound;
      continue;
    }
    EXPECT_EQ(error.rfind(entry.path().string() + it->second, 0), 0u) << name << ": " << error;
    EXPECT_EQ(error.find("Bad address"), std::string::npos) << error;
  }
  EXPECT_GE(sound, 10);
}
