#include "registry/registry_source.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "registry/memory_store.h"
#include "registry/registry_reader.h"
#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {

const std::string kData = BRANNOCK_TEST_DATA "/registry";

TextList Keys(RegistryBackend& backend, TextView path) {
  auto reader = RegistryReader::ProcessView(backend);
  TextList names;
  if (reader.OpenKeyReadOnly(path)) reader.GetKeyNames(names);
  return names;
}

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace

TEST(RegistrySource, ChoosesTheBackEndByPath) {
  RegistrySource reg = OpenRegistryPath(kData + "/regedit_export.reg");
  EXPECT_EQ(reg.kind, RegistrySource::Kind::RegFile);
  EXPECT_EQ(reg.Description(), Utf8ToUtf16("Registry export " + kData + "/regedit_export.reg"));
  EXPECT_EQ(Keys(*reg.backend, u"TypeLib").size(), 1u);
  // Read-only: nothing can be created or written.
  EXPECT_EQ(reg.backend->Create(RootKey::CurrentUser, u"Software\\X"), nullptr);
  auto key = reg.backend->Open(RootKey::ClassesRoot, u"TypeLib", 0x20019);
  ASSERT_NE(key, nullptr);
  EXPECT_THROW(key->SetValue(u"x", RegType::Sz, {}), Error);

  RegistrySource prefix = OpenRegistryPath(kData + "/wine_prefix");
  EXPECT_EQ(prefix.kind, RegistrySource::Kind::WinePrefix);
  EXPECT_EQ(prefix.Description(), Utf8ToUtf16("Wine prefix " + kData + "/wine_prefix"));
  EXPECT_EQ(Keys(*prefix.backend, u"CLSID").size(), 3u);
  EXPECT_EQ(prefix.backend->Create(RootKey::CurrentUser, u"Software\\X"), nullptr);

  // Anything else is a hive; a file that is not one names the file.
  EXPECT_EQ(ParseErrorOf([&] { OpenRegistryPath(kData + "/bad_hex.txt"); }),
            kData + "/bad_hex.txt: no such file or folder");
}

TEST(RegistrySource, FallsBackFromWinePrefixToHomeToDemo) {
  const auto home = std::filesystem::temp_directory_path() / ("brannock-home-" + std::to_string(::getpid()));
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  ScopedEnv homeVar("HOME", home.c_str());
  {
    ScopedEnv prefixVar("WINEPREFIX", (kData + "/wine_prefix").c_str());
    RegistrySource s = OpenRegistrySource(std::nullopt);
    EXPECT_EQ(s.kind, RegistrySource::Kind::WinePrefix);
    EXPECT_EQ(s.path, kData + "/wine_prefix");
  }
  {
    ScopedEnv prefixVar("WINEPREFIX", "");
    RegistrySource s = OpenRegistrySource(std::nullopt);
    EXPECT_EQ(s.kind, RegistrySource::Kind::Demo);  // ~/.wine does not exist
    EXPECT_EQ(s.Description(), u"Demo registry");
    EXPECT_TRUE(s.path.empty());
    // ~/.wine counts once it holds system.reg.
    std::filesystem::create_directories(home / ".wine");
    std::filesystem::copy_file(kData + "/wine_prefix/system.reg", home / ".wine" / "system.reg");
    RegistrySource h = OpenRegistrySource(std::nullopt);
    EXPECT_EQ(h.kind, RegistrySource::Kind::WinePrefix);
    EXPECT_EQ(h.path, home / ".wine");
    // An explicit path wins over everything.
    RegistrySource e = OpenRegistrySource(std::filesystem::path(kData + "/regedit_export.reg"));
    EXPECT_EQ(e.kind, RegistrySource::Kind::RegFile);
  }
  std::filesystem::remove_all(home);
}

TEST(RegistrySource, DemoRegistryShowsEveryCollection) {
  RegistrySource demo = OpenDemoRegistry();
  EXPECT_EQ(demo.kind, RegistrySource::Kind::Demo);
  RegistryBackend& b = *demo.backend;
  EXPECT_GE(Keys(b, u"CLSID").size(), 6u);
  EXPECT_GE(Keys(b, u"TypeLib").size(), 3u);
  EXPECT_GE(Keys(b, u"Interface").size(), 4u);
  EXPECT_EQ(Keys(b, u"AppID").front(), u"demo.exe");
  EXPECT_EQ(Keys(b, u"TypeLib\\{B7A4D2E1-1001-4C3B-9A8F-0E1D2C3B4A59}"), (TextList{u"1.0", u"1.1"}));
  EXPECT_EQ(Keys(b, u"TypeLib\\{B7A4D2E1-1001-4C3B-9A8F-0E1D2C3B4A59}\\1.0\\0"), (TextList{u"win32", u"win64"}));
  auto reader = RegistryReader::ProcessView(b);
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"CLSID\\{6F1A2B3C-0001-4D5E-8F90-A1B2C3D4E5F6}\\InprocServer32"));
  uint32_t type = 0, size = 0;
  ASSERT_TRUE(reader.GetDataInfo(u"", &type, &size));
  EXPECT_EQ(type, RegType::ExpandSz);
  EXPECT_EQ(reader.ReadString(u""), u"%SystemRoot%\\System32\\democalc.dll");
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"CLSID\\{6F1A2B3C-0004-4D5E-8F90-A1B2C3D4E5F6}"));
  EXPECT_EQ(reader.ReadString(u""), u"Демонстрационный класс — 示例");
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"Brannock.Calculator\\CurVer"));
  EXPECT_EQ(reader.ReadString(u""), u"Brannock.Calculator.1");
}
