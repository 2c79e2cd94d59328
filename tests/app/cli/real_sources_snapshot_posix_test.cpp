// The snapshot of every real hive and .reg file of
// ../shared/fixtures/real/registry, read back and compared with the file it
// was taken of: nothing differs, in both views. The files were written by
// other tools on real machines (regedit, Windows itself, forensic test
// suites), so their layouts are ones this project did not choose. The three
// exports hold classes (none of the hives does: the user hive is one of
// Windows XP, without Software\Classes), so their snapshots have objects:
// against an empty registry those are added.
#include <gtest/gtest.h>

#include <fstream>
#include <string_view>

#include "app/cli/registry_compare_command.h"
#include "app/startup/option_table.h"
#include "command_test_support.h"
#include "registry/hive_store.h"
#include "support/test_files.h"

using namespace brannock;

namespace {

// RunCompareCommand of `before` against `now` in `view`: its exit status
// and its report.
int Compare(const std::filesystem::path& before, registry::RegistrySource& now, registry::RegistryView view,
            std::string& report) {
  int status = -1;
  report = brannock::testing::Captured(
      [&](std::FILE* f) { status = cli::RunCompareCommand(before, now, view, cli::CompareFormat::Report, f); });
  return status;
}

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

// ASCII text as UTF-16LE with the byte order mark.
std::string Utf16(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) {
    bytes.push_back(c);
    bytes.push_back('\0');
  }
  return bytes;
}

}  // namespace

TEST(RealSourcesSnapshot, EveryHiveAndExportEqualsItsSnapshot) {
  if (!registry::HiveSupported() || !std::filesystem::is_directory(brannock::testing::RealRegistryDir()))
    GTEST_SKIP() << "no real registry files here";
  const std::filesystem::path dir = brannock::testing::FreshTestDir("brannock-real-snapshots");
  const std::filesystem::path empty = dir / "empty.reg";
  {
    std::ofstream(empty, std::ios::binary) << Utf16(kHeader);
  }
  int compared = 0;
  int withObjects = 0;
  for (auto& [path, name, source] : brannock::testing::ReadableRealSources()) {
    const std::filesystem::path snapshot = dir / (name + ".snapshot.reg");
    cli::RunSnapshotCommand(snapshot, source);
    registry::RegistrySource read = registry::OpenRegistryPath(snapshot);
    for (registry::RegistryView view : {registry::RegistryView::Bits64, registry::RegistryView::Bits32}) {
      std::string report;
      // The file against its snapshot, and the snapshot against the file.
      EXPECT_EQ(Compare(path, read, view, report), startup::kExitOk) << name << "\n" << report;
      EXPECT_EQ(report, "0 added, 0 removed, 0 changed\n") << name;
      EXPECT_EQ(Compare(snapshot, source, view, report), startup::kExitOk) << name << "\n" << report;
    }
    const std::string bytes = brannock::testing::ReadFileBytes(snapshot);
    EXPECT_EQ(bytes.substr(0, 2 + 2 * kHeader.size()), Utf16(kHeader)) << name;
    if (name.ends_with(".reg")) {
      std::string report;
      EXPECT_EQ(Compare(empty, read, registry::RegistryView::Bits64, report), startup::kExitOtherAnswer) << name;
      EXPECT_EQ(report.find("0 added"), std::string::npos) << name << "\n" << report;
      ++withObjects;
    }
    ++compared;
  }
  EXPECT_GE(compared, 12);
  EXPECT_EQ(withObjects, 3);
  std::filesystem::remove_all(dir);
}
