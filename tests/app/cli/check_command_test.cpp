// brannock-cli's check and permission commands on the planted-fault machine
// of tests/data/analysis/check_machine.reg.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/cli/check_command.h"
#include "command_test_support.h"
#include "registry/viewed_registry.h"

using namespace brannock;
using namespace brannock::cli;
using brannock::testing::Captured;

namespace {

const std::filesystem::path kMachine = std::filesystem::path(BRANNOCK_TEST_DATA) / "analysis" / "check_machine.reg";

size_t LinesWith(const std::string& text, const std::string& start) {
  size_t n = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    if (text.compare(at, start.size(), start) == 0) ++n;
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return n;
}

}  // namespace

TEST(CheckCommand, LinesCsvAndExitStatus) {
  registry::RegistrySource source = registry::OpenRegistryPath(kMachine);
  int status = -1;
  const std::string lines = Captured([&](std::FILE* f) { status = RunCheckCommand({}, source, registry::RegistryView::Bits64, f); });
  EXPECT_EQ(status, kExitFindings);
  // Without drives no file is called missing; the rest is found.
  EXPECT_EQ(lines.find("does not exist"), std::string::npos);
  EXPECT_EQ(LinesWith(lines, "error: "), 9u) << lines;
  EXPECT_EQ(LinesWith(lines, "warning: "), 9u) << lines;
  EXPECT_NE(lines.find("note: server and library files were not checked"), std::string::npos);

  const std::string csv = Captured([&](std::FILE* f) {
    RunCheckCommand({false, CheckFormat::Csv, {}}, source, registry::RegistryView::Bits64, f);
  });
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "severity;kind;name;GUID;key path;reason");
  EXPECT_EQ(LinesWith(csv, "error;ProgID;Loop.A;;HKEY_CLASSES_ROOT\\Loop.A\\CurVer;CurVer loops: Loop.A -> Loop.B -> Loop.A"), 1u)
      << csv;
}

TEST(CheckCommand, SecurityOfAppIdsAndClassesByGuidOrName) {
  registry::RegistrySource source = registry::OpenRegistryPath(kMachine);
  registry::ViewedRegistry viewed(*source.backend, registry::RegistryView::Bits64);
  Catalogue catalogue(viewed);
  size_t shown = 0;
  const std::string text = Captured([&](std::FILE* f) { shown = ShowSecurity(catalogue, *source.backend, u"Good AppID", f); });
  EXPECT_EQ(shown, 1u);
  EXPECT_EQ(text.substr(0, text.find("\n---")), "Name: Good AppID\nGUID: {A0000001-0000-4000-8000-000000000000}");
  EXPECT_EQ(LinesWith(text, "   O:BAG:BAD:"), 1u) << text;  // the SDDL on a line of its own
  // A class by its GUID shows its AppID's tab; one without an AppID none.
  const std::string ofClass = Captured(
      [&](std::FILE* f) { shown = ShowSecurity(catalogue, *source.backend, u"c0000001-0000-4000-8000-000000000000", f); });
  EXPECT_EQ(LinesWith(ofClass, "The class runs in the AppID {A0000001-0000-4000-8000-000000000000}"), 1u) << ofClass;
  EXPECT_EQ(shown, 1u);
  Captured([&](std::FILE* f) { shown = ShowSecurity(catalogue, *source.backend, u"Missing Server", f); });
  EXPECT_EQ(shown, 0u);
}

TEST(CheckCommand, DumpOfEveryPermissionValue) {
  registry::RegistrySource source = registry::OpenRegistryPath(kMachine);
  registry::ViewedRegistry viewed(*source.backend, registry::RegistryView::Bits64);
  const std::string dump = DumpSecurityValues(viewed, *source.backend);
  EXPECT_EQ(LinesWith(dump, "HKEY_CLASSES_ROOT\\AppID\\{A0000001-0000-4000-8000-000000000000} LaunchPermission: O:BAG:BAD:"), 1u);
  EXPECT_EQ(LinesWith(dump, "HKEY_CLASSES_ROOT\\AppID\\{A0000001-0000-4000-8000-000000000000} AccessPermission: ! Damaged"), 1u);
  EXPECT_EQ(LinesWith(dump, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole DefaultLaunchPermission: O:BAG:BAD:"), 1u);
  EXPECT_EQ(LinesWith(dump, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole MachineAccessRestriction: ! Damaged"), 1u);
  EXPECT_EQ(LinesWith(dump, "HKEY"), 4u) << dump;
}
