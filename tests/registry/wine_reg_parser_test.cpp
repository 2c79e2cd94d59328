#include "registry/wine_reg_parser.h"

#include <gtest/gtest.h>

#include "registry/classes_root.h"
#include "registry_files_support.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {

const std::string kPrefix = BRANNOCK_TEST_DATA "/registry/wine_prefix";

}  // namespace

TEST(WineRegParser, ReadsPrefixFilesAndComposesClassesRoot) {
  MemoryStore store;
  LoadWinePrefix(kPrefix, store);
  const Text c1 = u"CLSID\\{0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6}";
  // The user's Software\Classes is laid over the machine's.
  EXPECT_EQ(SubkeyNames(store, CR, u"CLSID"),
            (TextList{u"{0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6}", u"{0F3A1C2D-0002-4D5E-8F90-A1B2C3D4E5F6}",
                      u"{0F3A1C2D-0003-4D5E-8F90-A1B2C3D4E5F6}"}));
  EXPECT_EQ(StringValue(store, CR, c1, u""), u"User name");
  EXPECT_EQ(StringValue(store, CR, c1, u"MachineOnly"), u"m");
  const auto* server = FindValue(store, CR, c1 + u"\\InprocServer32", u"");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->type, RegType::ExpandSz);
  EXPECT_EQ(StringValue(store, CR, c1 + u"\\InprocServer32", u""), u"%SystemRoot%\\system32\\sample.dll");

  // Escapes: \xNNNN, \", \t, \n, octal \101 and \0.
  const Text escaped(u"Caf\u00e9 \"quoted\" tab\there\nnew line A\0end", 37);
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{0F3A1C2D-0002-4D5E-8F90-A1B2C3D4E5F6}", u""), escaped);

  const Text itf = u"Interface\\{9E8D7C6B-3001-4A49-B8C7-D6E5F4A3B2C1}";
  const auto* blob = FindValue(store, CR, itf, u"Blob");
  ASSERT_NE(blob, nullptr);
  EXPECT_EQ(blob->data.size(), 32u);
  EXPECT_EQ(blob->data[31], 0x1f);
  EXPECT_EQ(FindValue(store, CR, itf, u"Count")->data, (Bytes{0xff, 0xff, 0xff, 0xff}));
  const auto* names = FindValue(store, CR, itf, u"Names");
  EXPECT_EQ(names->type, RegType::MultiSz);
  EXPECT_EQ(names->data, (Bytes{'o', 0, 'n', 0, 'e', 0, 0, 0, 't', 0, 'w', 0, 'o', 0, 0, 0, 0, 0}));
  EXPECT_EQ(FindValue(store, CR, itf, u"Quad")->type, RegType::Qword);
  EXPECT_EQ(store.Open(CR, itf, 0)->ValueNames(), (TextList{u"", u"Blob", u"Count", u"Names", u"Quad"}));

  // Escaped brackets and characters in key names.
  EXPECT_EQ(SubkeyNames(store, CR, u"Key [with] brackets"), (TextList{u"über"}));
  // Link keys stay ordinary keys with their REG_LINK value.
  const auto* link = FindValue(store, CR, u"Wow6432Node\\CLSID", u"SymbolicLinkValue");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->type, RegType::Link);

  // Machine and user keys outside the classes stay under their roots.
  EXPECT_EQ(StringValue(store, RootKey::LocalMachine, u"Software\\Wine", u"Version"), u"wine-8.0");
  EXPECT_NE(FindValue(store, RootKey::CurrentUser, u"Software\\Velkar\\Brannock\\1.x\\frmMain", u"Width"), nullptr);
  EXPECT_EQ(StringValue(store, RootKey::CurrentUser, u"Software\\Classes\\CLSID\\{0F3A1C2D-0003-4D5E-8F90-A1B2C3D4E5F6}", u""),
            u"User class");
}

TEST(WineRegParser, TakesTheHiveFromTheHeaderLine) {
  MemoryStore store;
  ParseWineRegistry("WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n[A] 1\n@=\"u\"\n",
                    u"old.reg", WineHive::Machine, store);
  ParseWineRegistry("WINE REGISTRY Version 2\n[A] 1\n@=\"m\"\n", u"noheader.reg", WineHive::Machine, store);
  EXPECT_EQ(StringValue(store, RootKey::CurrentUser, u"A", u""), u"u");
  EXPECT_EQ(StringValue(store, RootKey::LocalMachine, u"A", u""), u"m");
}

TEST(WineRegParser, ReportsMalformedInputWithFileAndLine) {
  const std::string h = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n";
  const std::string k = h + "[Software\\\\Classes\\\\X] 1796791839\n#time=1dd8798d6b071bc\n";
  auto error = [](const std::string& bytes) {
    return ParseErrorOf([&] {
      MemoryStore store;
      ParseWineRegistry(bytes, u"system.reg", WineHive::Machine, store);
    });
  };
  EXPECT_EQ(error("REGEDIT4\n"), "system.reg:1: missing header \"WINE REGISTRY Version 2\"");
  EXPECT_EQ(error(""), "system.reg: missing header \"WINE REGISTRY Version 2\"");
  EXPECT_EQ(error(k + "\"v\"=hex:0q\n"), "system.reg:6: invalid hex byte \"0q\"");
  EXPECT_EQ(error(k + "\"v\"=hex:00,\\\n  zz\n"), "system.reg:7: invalid hex byte \"zz\"");
  EXPECT_EQ(error(k + "\"v\"=\"abc\\\"\n"), "system.reg:6: unterminated string");
  EXPECT_EQ(error(k + "\"v\"=str:\"abc\"\n"), "system.reg:6: unknown value type \"str:\"abc\"\"");
  EXPECT_EQ(error(k + "\"v\"=str(2)\"abc\"\n"), "system.reg:6: unknown value type \"str(2)\"abc\"\"");
  EXPECT_EQ(error(k + "\"v\"=dword:1x\n"), "system.reg:6: invalid dword value \"1x\"");
  EXPECT_EQ(error(k + "\"v\"=\"a\"b\n"), "system.reg:6: unexpected text after the value \"b\"");
  EXPECT_EQ(error(h + "[Software\\\\Classes 1796791839\n"), "system.reg:4: missing \"]\" at the end of the key line");
  EXPECT_EQ(error(h + "[Software\\\\Classes] x1\n"), "system.reg:4: unexpected text after the key \"x1\"");
  EXPECT_EQ(error(h + "[Software\\\\\\\\Classes] 1\n"),
            "system.reg:4: empty key name in \"[Software\\\\\\\\Classes] 1\"");
  EXPECT_EQ(error(h + "@=\"x\"\n"), "system.reg:4: value outside of a key");
  EXPECT_EQ(error(k + "\xff\xfe garbage\n"), "system.reg:6: unexpected text \"\xc3\xbf\xc3\xbe garbage\"");
  EXPECT_EQ(ParseErrorOf([] {
              MemoryStore store;
              LoadWinePrefix("/nonexistent-prefix", store);
            }),
            (std::filesystem::path("/nonexistent-prefix") / "system.reg").string() +
                ": cannot read the file: No such file or directory");
}
