// The advapi32 back end against a live registry: the Wine stage imports
// tests/data/wine/*.reg into a throwaway prefix before these tests run, and
// they write only below HKEY_CURRENT_USER\Software\Brannock Test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <string>

#include "common/text.h"
#include "registry/memory_store.h"
#include "registry/registry_error.h"
#include "registry/registry_reader.h"
#include "registry/registry_source.h"
#include "registry/value_text.h"
#include "registry/viewed_registry.h"
#include "registry/win32_registry.h"

using namespace brannock;
using namespace brannock::registry;

namespace {

const Text kTypesKey = u"CLSID\\{B4A22005-0000-4000-8000-000000000005}";
const Text kScratchKey = u"Software\\Brannock Test";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The variable the fixture's REG_EXPAND_SZ values refer to, as the stage
    // sets it for both builds.
    ASSERT_EQ(_wputenv_s(L"BRANNOCK_FIXTURE_DIR", L"C:\\brannock-fixture"), 0);
    ASSERT_TRUE(RegistryReader::ProcessView(live_).KeyExists(kTypesKey))
        << "the registry fixtures are missing: import tests/data/wine/*.reg first";
  }

  Text Shown(TextView path, TextView name, bool asHex = true, RootKey root = RootKey::ClassesRoot) {
    return GetRegValueText(live_, root, path, name, asHex);
  }

  // The message of the registry error that reading the value raises.
  Text ErrorOf(TextView path, TextView name, RootKey root = RootKey::ClassesRoot) {
    try {
      Shown(path, name, true, root);
    } catch (const RegistryError& e) {
      return e.Message();
    }
    return u"(no error)";
  }

  Win32Registry live_;
};

}  // namespace

TEST_F(Win32RegistryTest, DisplayTextOfEveryValueType) {
  EXPECT_EQ(Shown(kTypesKey, u""), u"Brannock value types");
  EXPECT_EQ(Shown(kTypesKey, u"Sz"), u"text");
  EXPECT_EQ(Shown(kTypesKey, u"SzWithNul"), u"abc");
  EXPECT_EQ(Shown(kTypesKey, u"SzOddBytes"), u"A");
  EXPECT_EQ(Shown(kTypesKey, u"EmptySz"), u"");
  EXPECT_EQ(Shown(kTypesKey, u"Expand"), u"C:\\brannock-fixture\\x.dll");
  EXPECT_EQ(Shown(kTypesKey, u"ExpandLower"), u"C:\\brannock-fixture\\x.dll");
  EXPECT_EQ(Shown(kTypesKey, u"ExpandUnknown"), u"%BRANNOCK_NO_SUCH%\\x.dll");
  EXPECT_EQ(Shown(kTypesKey, u"Dword"), u"-1");
  EXPECT_EQ(Shown(kTypesKey, u"DwordMin"), u"-2147483648");
  EXPECT_EQ(Shown(kTypesKey, u"BigEndian"), u"1");
  EXPECT_EQ(Shown(kTypesKey, u"ShortDword"), u"513");
  EXPECT_EQ(Shown(kTypesKey, u"Multi"), u"one");
  EXPECT_EQ(Shown(kTypesKey, u"EmptyMulti"), u"");
  EXPECT_EQ(Shown(kTypesKey, u"None"), u"01 02");
  EXPECT_EQ(Shown(kTypesKey, u"Binary"), u"00 1A FF");
  EXPECT_EQ(Shown(kTypesKey, u"Binary", false), u"..\u00ff");
  EXPECT_EQ(Shown(kTypesKey, u"BinaryText", false), u"Hi.");
  EXPECT_EQ(Shown(kTypesKey, u"EmptyBinary"), u"");
  EXPECT_EQ(Shown(kTypesKey, u"Link").substr(0, 11), u"5C 00 52 00");
  EXPECT_EQ(Shown(kTypesKey, u"ResourceList"), u"01 02 03");
  EXPECT_EQ(Shown(kTypesKey, u"FullResource"), u"04 05");
  EXPECT_EQ(Shown(kTypesKey, u"Requirements", false), u".");
  EXPECT_EQ(Shown(kTypesKey, u"Qword"), u"01 00 00 00 00 00 00 00");
  EXPECT_EQ(Shown(kTypesKey, u"Unknown"), u"AA BB");
  EXPECT_EQ(Shown(kTypesKey, u"\u0141\u00f3d\u017a \u65e5\u672c"), u"named outside the code page");
  EXPECT_EQ(Shown(kTypesKey, u"name;WITH;semicolons"), u"v;w");  // names match without regard to case
  EXPECT_EQ(Shown(kTypesKey, u"Binary8194").size(), 8194u * 3 - 1);
  EXPECT_EQ(ErrorOf(kTypesKey, u"Binary8195"), u"Invalid data type for 'Binary8195'");
  EXPECT_EQ(ErrorOf(kTypesKey, u"LongDword"), u"Failed to get data for 'LongDword'");
  // Missing keys and values are no error.
  EXPECT_EQ(Shown(kTypesKey, u"NoSuchValue"), u"");
  EXPECT_EQ(Shown(u"CLSID\\{B4A22099-0000-4000-8000-000000000099}", u""), u"");
  EXPECT_EQ(Shown(u"CLSID\\{b4a22004-0000-4000-8000-000000000004}", u""), u"");  // default value not set
}

TEST_F(Win32RegistryTest, ReaderOperations) {
  RegistryReader reader = RegistryReader::ProcessView(live_);
  TextList names{u"stale"};
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"TypeLib\\{B4A22010-0000-4000-8000-000000000010}"));
  reader.GetKeyNames(names);
  EXPECT_EQ(names, (TextList{u"1.0", u"1.a", u"2.1"}));
  reader.GetValueNames(names);
  EXPECT_TRUE(names.empty());

  ASSERT_TRUE(reader.OpenKeyReadOnly(u"clsid\\{B4A22001-0000-4000-8000-000000000001}"));
  reader.GetValueNames(names);
  EXPECT_EQ(names, (TextList{u"", u"AppID"}));
  EXPECT_EQ(reader.ReadString(u""), u"Brannock Test; Class; with semicolons");
  EXPECT_TRUE(reader.ValueExists(u"appid"));
  EXPECT_FALSE(reader.ValueExists(u"NoSuchValue"));
  uint32_t type = 0;
  uint32_t size = 0;
  ASSERT_TRUE(reader.GetDataInfo(u"AppID", &type, &size));
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(size, 39u * 2);
  reader.GetKeyNames(names);
  EXPECT_EQ(names, (TextList{u"DefaultIcon", u"InprocServer32", u"ProgID", u"ToolBoxBitmap32", u"TypeLib", u"Version"}));
  // The stored REG_EXPAND_SZ text comes back as written.
  EXPECT_TRUE(reader.KeyExists(u"CLSID\\{B4A22001-0000-4000-8000-000000000001}\\InprocServer32"));
  ASSERT_TRUE(reader.OpenKey(u"CLSID\\{B4A22001-0000-4000-8000-000000000001}\\InprocServer32"));
  EXPECT_EQ(reader.ReadString(u""), u"%SystemRoot%\\system32\\brannock_test.dll");

  // A REG_DWORD default value read as text.
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"CLSID\\{B4A22002-0000-4000-8000-000000000002}"));
  try {
    reader.ReadString(u"");
    ADD_FAILURE() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_EQ(e.Message(), u"Invalid data type for ''");
  }

  EXPECT_FALSE(reader.OpenKeyReadOnly(u"CLSID\\{B4A22099-0000-4000-8000-000000000099}"));
  EXPECT_FALSE(reader.HasOpenKey());
  EXPECT_FALSE(reader.KeyExists(u"NoSuchCategory"));
  // The category key and the root itself open.
  EXPECT_TRUE(reader.OpenKeyReadOnly(u"AppID"));
  reader.GetKeyNames(names);
  EXPECT_NE(std::find(names.begin(), names.end(), u"Brannock \u00dcber.exe"), names.end());
  EXPECT_TRUE(reader.OpenKey(u""));

  // A 64-bit program is no WOW64 process: both views use the plain mask.
  EXPECT_FALSE(live_.RunsUnderWow64());
  EXPECT_EQ(RegistryReader::NativeView(live_).AccessMask(), Access::KeyRead);
}

TEST_F(Win32RegistryTest, SubkeyOrderIsWines) {
  // Wine orders subkeys by their lower-cased names (Windows by upper-cased
  // ones, the file back ends by names with only a to z upper-cased), so
  // names with characters between "Z" and "a" and letters outside ASCII
  // come in an order of their own. The stage lists the same difference.
  TextList names;
  GetRegKeyNames(live_, RootKey::ClassesRoot, u"BrannockOrder", names);
  EXPECT_EQ(names, (TextList{u"[bracket", u"_under", u"a", u"Z", u"\u00e9a", u"\u00cab", u"\u00ff", u"\u0101"}));
  // A key that does not open leaves the list as it was.
  GetRegKeyNames(live_, RootKey::ClassesRoot, u"NoSuchKey", names);
  EXPECT_EQ(names.size(), 8u);
}

TEST_F(Win32RegistryTest, WritesOnlyBelowCurrentUser) {
  RegistryReader settings(live_, RootKey::CurrentUser, Access::KeyRead);
  ASSERT_TRUE(settings.OpenKeyForWriting(kScratchKey + u"\\frmMain"));
  settings.WriteInteger(u"Tree_Width", -250);
  settings.WriteString(u"NormPos(1920x1080)", u"10,20,30,40");
  ASSERT_TRUE(settings.OpenKeyReadOnly(kScratchKey + u"\\frmMain"));
  EXPECT_EQ(settings.ReadInteger(u"Tree_Width"), -250);
  EXPECT_EQ(settings.ReadString(u"NormPos(1920x1080)"), u"10,20,30,40");
  EXPECT_EQ(settings.ReadInteger(u"Missing"), 0);

  // Every value type written through the back end reads back with the
  // display texts of the fixture; oversized data raises the same errors.
  auto key = live_.Create(RootKey::CurrentUser, kScratchKey + u"\\Values");
  ASSERT_NE(key, nullptr);
  const Text path = kScratchKey + u"\\Values";
  const Text longName(300, u'n');
  key->SetValue(u"", RegType::Dword, {0x2a, 0, 0, 0});
  key->SetValue(longName, RegType::Sz, MemoryStore::TextData(u"long name"));
  key->SetValue(u"Multi8196", RegType::MultiSz, Bytes(8196, 0x41));
  key->SetValue(u"Multi8194", RegType::MultiSz, Bytes(8194, 0x41));
  key->SetValue(u"Qword", RegType::Qword, {1, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(Shown(path, u"", true, RootKey::CurrentUser), u"42");
  EXPECT_EQ(Shown(path, longName, true, RootKey::CurrentUser), u"long name");
  EXPECT_EQ(ErrorOf(path, u"Multi8196", RootKey::CurrentUser), u"Invalid data type for 'Multi8196'");
  EXPECT_EQ(Shown(path, u"Multi8194", true, RootKey::CurrentUser), Text(4097, u'\x4141'));
  EXPECT_EQ(Shown(path, u"Qword", true, RootKey::CurrentUser), u"01 00 00 00 00 00 00 00");
  TextList names;
  key->SetValue(u"Qword", RegType::Sz, MemoryStore::TextData(u"replaced"));
  names = key->ValueNames();
  EXPECT_EQ(names.size(), 5u);
  EXPECT_NE(std::find(names.begin(), names.end(), longName), names.end());
  EXPECT_EQ(Shown(path, u"Qword", true, RootKey::CurrentUser), u"replaced");

  // A key name of the longest allowed length.
  const Text longKey(255, u'k');
  ASSERT_NE(live_.Create(RootKey::CurrentUser, path + u"\\" + longKey), nullptr);
  GetRegKeyNames(live_, RootKey::CurrentUser, path, names);
  EXPECT_EQ(names, TextList{longKey});

  // The catalogue's registry is never written to.
  EXPECT_EQ(live_.Create(RootKey::ClassesRoot, u"CLSID\\{B4A22099-0000-4000-8000-000000000099}"), nullptr);
  EXPECT_EQ(live_.Create(RootKey::LocalMachine, u"Software\\Brannock Test"), nullptr);
  RegistryReader classes = RegistryReader::ProcessView(live_);
  EXPECT_FALSE(classes.OpenKeyForWriting(u"CLSID\\{B4A22099-0000-4000-8000-000000000099}"));
  EXPECT_FALSE(classes.KeyExists(u"CLSID\\{B4A22099-0000-4000-8000-000000000099}"));
}

TEST_F(Win32RegistryTest, SourcesOfAWindowsRun) {
  RegistrySource live = OpenRegistrySource(std::nullopt);
  EXPECT_EQ(live.kind, RegistrySource::Kind::Live);
  EXPECT_EQ(live.Description(), u"Live registry");
  ASSERT_NE(live.backend, nullptr);
  EXPECT_EQ(GetRegValueText(*live.backend, RootKey::ClassesRoot, kTypesKey, u"Multi", true), u"one");

  // The fixture read as an export file gives the texts of the live
  // registry it was imported into, except where a value names a variable
  // of this process only: an export carries no environment of its own, so
  // the variable stays as it is written.
  RegistrySource file = OpenRegistrySource(std::filesystem::path(BRANNOCK_TEST_DATA) / "wine" / "catalogue.reg");
  EXPECT_EQ(file.kind, RegistrySource::Kind::RegFile);
  RegistryReader reader = RegistryReader::ProcessView(live_);
  ASSERT_TRUE(reader.OpenKeyReadOnly(kTypesKey));
  TextList names;
  reader.GetValueNames(names);
  ASSERT_GT(names.size(), 25u);
  for (const Text& name : names) {
    if (name == u"Expand" || name == u"ExpandLower" || name == u"ExpandPartial") {
      const bool partial = name == u"ExpandPartial";
      const Text fromFile = GetRegValueText(*file.backend, RootKey::ClassesRoot, kTypesKey, name, true);
      EXPECT_EQ(UpperAscii(fromFile),
                partial ? u"%BRANNOCK_NO_SUCH%BRANNOCK_FIXTURE_DIR%" : u"%BRANNOCK_FIXTURE_DIR%\\X.DLL")
          << Utf16ToUtf8(name);
      EXPECT_EQ(Shown(kTypesKey, name, true),
                partial ? u"%BRANNOCK_NO_SUCHC:\\brannock-fixture" : u"C:\\brannock-fixture\\x.dll")
          << Utf16ToUtf8(name);
      continue;
    }
    for (bool asHex : {true, false}) {
      Text fromFile;
      Text fromLive;
      try {
        fromFile = GetRegValueText(*file.backend, RootKey::ClassesRoot, kTypesKey, name, asHex);
      } catch (const RegistryError& e) {
        fromFile = e.Message();
      }
      try {
        fromLive = Shown(kTypesKey, name, asHex);
      } catch (const RegistryError& e) {
        fromLive = e.Message();
      }
      EXPECT_EQ(fromFile, fromLive) << Utf16ToUtf8(name);
    }
  }
}

TEST_F(Win32RegistryTest, EachViewReadsItsOwnRegistrationsOnEveryOpen) {
  // tests/data/wine/views.reg: one class per view, one in both with a
  // server of its own in each.
  const Text only32 = u"CLSID\\{B4A22201-0000-4000-8000-000000000001}";
  const Text only64 = u"CLSID\\{B4A22204-0000-4000-8000-000000000004}";
  const Text both = u"CLSID\\{B4A22203-0000-4000-8000-000000000003}\\InprocServer32";
  EXPECT_EQ(live_.MachineView(), RegistryView::Bits64);
  ViewedRegistry view32(live_, RegistryView::Bits32);
  ViewedRegistry view64(live_, RegistryView::Bits64);
  EXPECT_EQ(GetRegValueText(view32, RootKey::ClassesRoot, both, u"", true),
            u"C:\\Program Files (x86)\\Brannock\\both32.dll");
  EXPECT_EQ(GetRegValueText(view64, RootKey::ClassesRoot, both, u"", true), u"C:\\Program Files\\Brannock\\both64.dll");
  EXPECT_EQ(GetRegValueText(view64, RootKey::ClassesRoot, only32, u"", true), u"");
  EXPECT_EQ(GetRegValueText(view32, RootKey::ClassesRoot, only64, u"", true), u"");
  TextList names{u"untouched"};
  GetRegKeyNames(view64, RootKey::ClassesRoot, only32, names);
  EXPECT_EQ(names, TextList{u"untouched"});
  GetRegKeyNames(view32, RootKey::ClassesRoot, only32, names);
  EXPECT_EQ(names, TextList{u"InprocServer32"});
  // The shared keys are the same in both views.
  RegistryReader reader32 = RegistryReader::ProcessView(view32);
  EXPECT_TRUE(reader32.KeyExists(u"TypeLib\\{6A1B2C3D-1000-4A5B-8C9D-0123456789AB}\\1.0\\0\\win32"));
  EXPECT_TRUE(reader32.KeyExists(u"AppID\\{B4A22020-0000-4000-8000-000000000020}"));
  EXPECT_FALSE(reader32.KeyExists(only64));
}
