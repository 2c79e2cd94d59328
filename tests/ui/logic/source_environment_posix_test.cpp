// The pane of a class of a real Wine prefix (made by wineboot): server paths
// expand with the prefix's own Windows environment, whatever the host's
// environment holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "catalogue/catalogue.h"
#include "registry/registry_source.h"
#include "registry/windows_environment.h"
#include "registry/wine_prefix_support.h"
#include "support/test_files.h"
#include "ui/logic/detail_pane.h"
#include "catalogue/registry_tree_builder.h"

using namespace brannock;

namespace {

// Sets a variable of the process for one test.
class HostVariable {
 public:
  HostVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value, 1);
  }
  ~HostVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

bool HasLine(const std::vector<RegLine>& lines, TextView text) {
  return std::any_of(lines.begin(), lines.end(), [&](const RegLine& l) { return l.text == text; });
}

}  // namespace

TEST(SourceEnvironment, WinePrefixPaneExpandsWithThePrefixsEnvironment) {
  const auto shared = brannock::testing::SharedWinePrefix();
  if (!shared) GTEST_SKIP() << "Wine is not installed";
  const std::filesystem::path prefix = brannock::testing::FreshTestDir("brannock-source-env");
  std::filesystem::copy_file(*shared / "system.reg", prefix / "system.reg");
  std::filesystem::copy_file(*shared / "user.reg", prefix / "user.reg");
  {
    std::ofstream add(prefix / "system.reg", std::ios::app | std::ios::binary);
    add << "\n[Software\\\\Classes\\\\CLSID\\\\{5D0C0F0A-0000-4000-8000-00000000000A}] 1700000000\n"
           "@=\"Sound environment test\"\n"
           "\n[Software\\\\Classes\\\\CLSID\\\\{5D0C0F0A-0000-4000-8000-00000000000A}\\\\InprocServer32] 1700000000\n"
           "@=str(2):\"%SystemRoot%\\\\system32\\\\x.dll\"\n"
           "\"Home\"=str(2):\"%HOME%\\\\%ProgramFiles%\"\n"
           "\n[Software\\\\Classes\\\\CLSID\\\\{5D0C0F0A-0000-4000-8000-00000000000B}\\\\LocalServer32] 1700000000\n"
           "@=\"C:\\\\HOMEWORK\\\\tool.exe\"\n";
  }
  const HostVariable systemRoot("SystemRoot", "/host/windows");
  const HostVariable home("HOME", "/home/host-user");

  registry::RegistrySource source = registry::OpenRegistryPath(prefix);
  ASSERT_EQ(source.kind, registry::RegistrySource::Kind::WinePrefix);
  const TextList environment = source.WindowsEnvironment();
  EXPECT_EQ(registry::EnvironmentValue(environment, u"SystemRoot"), u"C:\\windows");
  EXPECT_EQ(registry::EnvironmentValue(environment, u"windir"), u"C:\\windows");  // %SystemRoot% expanded
  EXPECT_EQ(registry::EnvironmentValue(environment, u"SystemDrive"), u"C:");
  EXPECT_EQ(registry::EnvironmentValue(environment, u"ProgramFiles"), u"C:\\Program Files");
  EXPECT_EQ(registry::EnvironmentValue(environment, u"HOME"), u"");
  // The user's TEMP is laid over the machine's.
  EXPECT_NE(registry::EnvironmentValue(environment, u"TEMP").find(u"C:\\users\\"), Text::npos);

  RegistryTreeBuilder builder(*source.backend, true);
  builder.FillRegistryTree(u"CLSID\\{5D0C0F0A-0000-4000-8000-00000000000A}");
  EXPECT_TRUE(HasLine(builder.Lines(), u"InprocServer32 = C:\\windows\\system32\\x.dll"));
  EXPECT_TRUE(HasLine(builder.Lines(), u"InprocServer32[Home] = %HOME%\\C:\\Program Files"));

  Catalogue catalogue(*source.backend);
  catalogue.CaptureEnvironment();
  TObjectData a;
  a.GUID = u"{5D0C0F0A-0000-4000-8000-00000000000A}";
  a.Typ = TObjectType::otCLSID;
  catalogue.Resolve(a);
  EXPECT_EQ(a.Server, u"C:\\windows\\system32\\x.dll");
  // The host's HOME would rewrite "\HOMEWORK" by the backslash rule.
  TObjectData b = a;
  b.GUID = u"{5D0C0F0A-0000-4000-8000-00000000000B}";
  catalogue.Resolve(b);
  EXPECT_EQ(b.Server, u"C:\\HOMEWORK\\tool.exe");
  std::filesystem::remove_all(prefix);
}
