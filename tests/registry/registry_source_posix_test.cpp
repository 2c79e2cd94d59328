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
  ScopedEnv homeVar("HOME", "/nonexistent-home");
  RegistrySource reg = OpenRegistryPath(kData + "/regedit_export.reg");
  EXPECT_EQ(reg.kind, RegistrySource::Kind::RegFile);
  EXPECT_EQ(reg.Description(), Utf8ToUtf16("Registry file " + kData + "/regedit_export.reg"));
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

  // A folder named explicitly must be a prefix: the error names the file
  // that is missing, whether the folder is empty or holds only user.reg.
  const auto partial = std::filesystem::temp_directory_path() / ("brannock-partial-" + std::to_string(::getpid()));
  std::filesystem::remove_all(partial);
  std::filesystem::create_directories(partial);
  EXPECT_EQ(ParseErrorOf([&] { OpenRegistryPath(partial); }),
            partial.string() + ": not a Wine prefix (" + (partial / "system.reg").string() + " is missing)");
  std::filesystem::copy_file(kData + "/wine_prefix/user.reg", partial / "user.reg");
  EXPECT_EQ(ParseErrorOf([&] { OpenRegistrySource(partial); }),
            partial.string() + ": not a Wine prefix (" + (partial / "system.reg").string() + " is missing)");
  std::filesystem::remove_all(partial);
}

TEST(RegistrySource, NamesTheSourceForTheUser) {
  EXPECT_EQ(PathForDisplay("/home/ann/.wine", "/home/ann"), u"~/.wine");
  EXPECT_EQ(PathForDisplay("/home/ann/x/../exports/h.reg", "/home/ann/"), u"~/exports/h.reg");
  EXPECT_EQ(PathForDisplay("/home/ann", "/home/ann"), u"~");
  EXPECT_EQ(PathForDisplay("/home/anna/.wine", "/home/ann"), u"/home/anna/.wine");
  EXPECT_EQ(PathForDisplay("/srv/.wine", "/home/ann"), u"/srv/.wine");
  EXPECT_EQ(PathForDisplay("exports/hkcr.reg", "/home/ann"), u"exports/hkcr.reg");
  EXPECT_EQ(PathForDisplay("/home/ann/.wine", ""), u"/home/ann/.wine");

  ScopedEnv homeVar("HOME", (kData + "/..").c_str());
  RegistrySource prefix = OpenRegistryPath(kData + "/wine_prefix");
  EXPECT_EQ(prefix.Description(), u"Wine prefix ~/registry/wine_prefix");
  RegistrySource reg = OpenRegistryPath(kData + "/regedit_export.reg");
  EXPECT_EQ(reg.Description(), u"Registry file ~/registry/regedit_export.reg");
  EXPECT_EQ(OpenDemoRegistry().Description(), u"Demo registry");
  RegistrySource hive;
  hive.kind = RegistrySource::Kind::Hive;
  hive.path = "UsrClass.dat";
  EXPECT_EQ(hive.Description(), u"Hive UsrClass.dat");
  RegistrySource live;
  live.kind = RegistrySource::Kind::Live;
  EXPECT_EQ(live.Description(), u"Live registry");
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
    EXPECT_TRUE(s.skipped.empty());
  }
  {
    ScopedEnv prefixVar("WINEPREFIX", "");
    RegistrySource s = OpenRegistrySource(std::nullopt);
    EXPECT_EQ(s.kind, RegistrySource::Kind::Demo);
    EXPECT_EQ(s.Description(), u"Demo registry");
    EXPECT_TRUE(s.path.empty());
    EXPECT_EQ(s.skipped, (TextList{u"~/.wine skipped: no such folder"}));
    // A ~/.wine that Wine is still writing (user.reg, no system.reg yet) is
    // passed over, and so is a $WINEPREFIX that is no prefix.
    std::filesystem::create_directories(home / ".wine");
    std::filesystem::copy_file(kData + "/wine_prefix/user.reg", home / ".wine" / "user.reg");
    {
      ScopedEnv notPrefix("WINEPREFIX", (kData + "/regedit_export.reg").c_str());
      RegistrySource d = OpenRegistrySource(std::nullopt);
      EXPECT_EQ(d.kind, RegistrySource::Kind::Demo);
      EXPECT_EQ(d.skipped, (TextList{Utf8ToUtf16("$WINEPREFIX " + kData + "/regedit_export.reg skipped: not a folder"),
                                     u"~/.wine skipped: not a Wine prefix (no system.reg)"}));
    }
    // ~/.wine counts once it holds system.reg.
    std::filesystem::copy_file(kData + "/wine_prefix/system.reg", home / ".wine" / "system.reg");
    {
      ScopedEnv missing("WINEPREFIX", (home / "gone").c_str());
      RegistrySource h = OpenRegistrySource(std::nullopt);
      EXPECT_EQ(h.kind, RegistrySource::Kind::WinePrefix);
      EXPECT_EQ(h.path, home / ".wine");
      EXPECT_EQ(h.Description(), u"Wine prefix ~/.wine");
      EXPECT_EQ(h.skipped, (TextList{u"$WINEPREFIX ~/gone skipped: no such folder"}));
      EXPECT_EQ(Keys(*h.backend, u"CLSID").size(), 3u);
    }
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
