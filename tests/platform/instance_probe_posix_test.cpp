// Test instances under Wine: the helper is found and run through `wine` in
// the prefix, and its report read back. A stand-in `wine` on PATH plays the
// prefix here; the Wine stage runs the real one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "platform/instance_probe.h"

namespace brannock::platform {
namespace {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::filesystem::path TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "brannock-probe.XXXXXX").string();
  return mkdtemp(tmpl.data());
}

void WriteExecutable(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file) << text;
  chmod(file.c_str(), 0755);
}

TEST(ProbeInstance, RunsTheHelperThroughWineInThePrefixAndReadsItsReport) {
  const std::filesystem::path dir = TempDir();
  const std::filesystem::path helper = dir / "brannock-instance.exe";
  WriteExecutable(helper, "not run by the stand-in");
  // The stand-in checks the prefix and the helper argument, and answers by
  // the ProgID as the helper would.
  WriteExecutable(dir / "wine",
                  "#!/bin/sh\n"
                  "[ \"$WINEPREFIX\" = /fake/prefix ] || { echo wrong-prefix; exit 0; }\n"
                  "[ \"$1\" = \"" + helper.string() + "\" ] || { echo wrong-helper; exit 0; }\n"
                  "case \"$2\" in\n"
                  "  Good.Class) printf 'ok\\r\\n' ;;\n"
                  "  No.TypeInfo) printf 'typeinfo-failed 0x80004001\\r\\n' ;;\n"
                  "  Garbled) echo 'fixme:ole:something' ;;\n"
                  "  *) echo none ;;\n"
                  "esac\n");
  ScopedEnv path("PATH", dir.string() + ":" + std::getenv("PATH"));
  ScopedEnv named("BRANNOCK_INSTANCE_HELPER", helper.string());
  EXPECT_EQ(FindInstanceHelper(), helper);

  const ProcessLauncher wine{{u"wine"}, {u"WINEPREFIX=/fake/prefix"}};
  EXPECT_EQ(ProbeInstance(u"Good.Class", wine).outcome, InstanceReport::Outcome::Ok);
  const InstanceReport failed = ProbeInstance(u"No.TypeInfo", wine);
  EXPECT_EQ(failed.outcome, InstanceReport::Outcome::TypeInfoFailed);
  EXPECT_EQ(failed.code, 0x80004001u);
  EXPECT_EQ(ProbeInstance(u"No.Such.Class", wine).outcome, InstanceReport::Outcome::None);
  // Output that is no report counts as no instance.
  EXPECT_EQ(ProbeInstance(u"Garbled", wine).outcome, InstanceReport::Outcome::None);
  // Another prefix reaches the stand-in with the wrong WINEPREFIX.
  EXPECT_EQ(ProbeInstance(u"Good.Class", {{u"wine"}, {u"WINEPREFIX=/other"}}).outcome, InstanceReport::Outcome::None);
  // Without a launcher, or without a ProgID, nothing runs.
  EXPECT_EQ(ProbeInstance(u"Good.Class", {}).outcome, InstanceReport::Outcome::None);
  EXPECT_EQ(ProbeInstance(u"", wine).outcome, InstanceReport::Outcome::None);

  // A helper named but missing is not replaced by another one.
  {
    ScopedEnv missing("BRANNOCK_INSTANCE_HELPER", (dir / "missing.exe").string());
    EXPECT_TRUE(FindInstanceHelper().empty());
    EXPECT_EQ(ProbeInstance(u"Good.Class", wine).outcome, InstanceReport::Outcome::None);
  }
  std::filesystem::remove_all(dir);
}

// Where the helper is found: beside the program first, then in the folder
// the package installs it to (/usr/bin/brannock ->
// /usr/lib/brannock/brannock-instance.exe).
TEST(ProbeInstance, FindsTheHelperBesideTheProgramOrInstalled) {
  const std::filesystem::path dir = TempDir();
  const char* old = std::getenv("BRANNOCK_INSTANCE_HELPER");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  unsetenv("BRANNOCK_INSTANCE_HELPER");
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::create_directories(dir / "lib" / "brannock");
  const std::filesystem::path installed = dir / "lib" / "brannock" / "brannock-instance.exe";
  std::ofstream(installed) << "MZ";
  EXPECT_EQ(FindInstanceHelperFor(dir / "bin"), installed);
  EXPECT_EQ(FindInstanceHelperFor(dir / "bin" / ""), installed);
  std::ofstream(dir / "bin" / "brannock-instance.exe") << "MZ";
  EXPECT_EQ(FindInstanceHelperFor(dir / "bin"), dir / "bin" / "brannock-instance.exe");
  // A folder, not a file, is no helper.
  std::filesystem::remove(installed);
  std::filesystem::create_directories(dir / "other" / "bin");
  std::filesystem::create_directories(dir / "other" / "lib" / "brannock" / "brannock-instance.exe");
  const std::filesystem::path found = FindInstanceHelperFor(dir / "other" / "bin");
  EXPECT_NE(found.parent_path(), dir / "other" / "lib" / "brannock");
  if (saved) setenv("BRANNOCK_INSTANCE_HELPER", saved->c_str(), 1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brannock::platform
