// The registration check on every real hive and .reg file of
// ../shared/fixtures/real/registry: each one that reads is checked without
// a failure, and says what it could not check (none has drives, none is a
// whole machine with its user's classes).
#include <gtest/gtest.h>

#include "app/cli/check_command.h"
#include "command_test_support.h"
#include "registry/hive_store.h"
#include "registry/viewed_registry.h"

using namespace brannock;
using brannock::testing::Captured;

TEST(RealSourcesCheck, EveryHiveAndExportIsChecked) {
  if (!registry::HiveSupported() || !std::filesystem::is_directory(brannock::testing::RealRegistryDir()))
    GTEST_SKIP() << "no real registry files here";
  int checked = 0;
  for (auto& real : brannock::testing::ReadableRealSources()) {
    const std::string& name = real.name;
    registry::RegistrySource& source = real.source;
    int status = -1;
    const std::string text = Captured(
        [&](std::FILE* f) { status = cli::RunCheckCommand({}, source, registry::DefaultView(*source.backend), f); });
    EXPECT_TRUE(status == 0 || status == cli::kExitFindings) << name;
    EXPECT_NE(text.find("note: server and library files were not checked: the source has no drives"),
              std::string::npos)
        << name << "\n" << text;
    ++checked;
    if (name == "wrl_dvc_register_for_64_bit_windows.reg") {
      // An export of HKEY_CLASSES_ROOT: no machine/user split, no COM settings.
      EXPECT_NE(text.find("note: per-user classes and machine-wide servers"), std::string::npos) << text;
      EXPECT_NE(text.find("note: the machine's COM permissions were not checked"), std::string::npos) << text;
    }
  }
  EXPECT_GE(checked, 12);
}
