#include "registry/reg_file_parser.h"

#include <gtest/gtest.h>

#include "registry/registry_parse_error.h"
#include "registry_files_support.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {


const char16_t kExport[] =
    u"Windows Registry Editor Version 5.00\r\n"
    u"\r\n"
    u"; exported by regedit\r\n"
    u"[HKEY_CLASSES_ROOT\\CLSID\\{11111111-2222-3333-4444-555555555555}]\r\n"
    u"@=\"Demo \\\"quoted\\\" class\"\r\n"
    u"\"AppID\"=\"{AAAAAAAA-0000-0000-0000-000000000001}\"\r\n"
    u"\"Back\\\\slash \\\"name\\\"\"=\"C:\\\\dir\\\\x.dll\"\r\n"
    u"\"Count\"=dword:0000002a\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32]\r\n"
    u"@=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,\\\r\n"
    u"  00,5c,00,78,00,2e,00,64,00,6c,00,6c,00,00,00\r\n"
    u"\"ThreadingModel\"=\"Both\"\r\n"
    u"\"Multi\"=hex(7):6f,00,6e,00,65,00,00,00,74,00,77,00,6f,00,00,00,00,00\r\n"
    u"\"Quad\"=hex(b):01,00,00,00,00,00,00,00\r\n"
    u"\"Nothing\"=hex(0):\r\n"
    u"\"Bin\"=hex:00,1A,ff\r\n"
    u"\"Odd\"=hex(80000001):01\r\n"
    u"    ; indented comment\r\n"
    u"[HKEY_CLASSES_ROOT\\Интерфейс;имя]\r\n"
    u"@=\"日本語\"\r\n";

}  // namespace

TEST(RegFileParser, ReadsRegeditUnicodeExport) {
  MemoryStore store;
  ParseRegFile(Utf16LeFile(kExport), u"demo.reg", store);
  const Text clsid = u"CLSID\\{11111111-2222-3333-4444-555555555555}";
  EXPECT_EQ(StringValue(store, CR, clsid, u""), u"Demo \"quoted\" class");
  EXPECT_EQ(StringValue(store, CR, clsid, u"Back\\slash \"name\""), u"C:\\dir\\x.dll");
  const auto* count = FindValue(store, CR, clsid, u"count");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->type, RegType::Dword);
  EXPECT_EQ(count->data, (Bytes{0x2a, 0, 0, 0}));

  const Text server = clsid + u"\\InprocServer32";
  const auto* expand = FindValue(store, CR, server, u"");
  ASSERT_NE(expand, nullptr);
  EXPECT_EQ(expand->type, RegType::ExpandSz);
  EXPECT_EQ(StringValue(store, CR, server, u""), u"%SystemRoot%\\x.dll");
  EXPECT_EQ(FindValue(store, CR, server, u"Multi")->type, RegType::MultiSz);
  EXPECT_EQ(FindValue(store, CR, server, u"Multi")->data.size(), 18u);
  EXPECT_EQ(FindValue(store, CR, server, u"Quad")->type, RegType::Qword);
  EXPECT_EQ(FindValue(store, CR, server, u"Quad")->data, (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(FindValue(store, CR, server, u"Nothing")->type, RegType::None);
  EXPECT_TRUE(FindValue(store, CR, server, u"Nothing")->data.empty());
  EXPECT_EQ(FindValue(store, CR, server, u"Bin")->data, (Bytes{0x00, 0x1a, 0xff}));
  EXPECT_EQ(FindValue(store, CR, server, u"Odd")->type, 0x80000001u);

  EXPECT_EQ(StringValue(store, CR, u"Интерфейс;имя", u""), u"日本語");
  EXPECT_EQ(SubkeyNames(store, CR, u""), (TextList{u"CLSID", u"Интерфейс;имя"}));
}

TEST(RegFileParser, ReadsEightBitAndUtf8Files) {
  // REGEDIT4 in Windows-1252: strings and the ANSI bytes of hex(2) become UTF-16.
  MemoryStore ansi;
  ParseRegFile(
      "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\Caf\xE9]\n@=\"\x80 5\"\n\"Path\"=hex(2):25,54,25,00\n"
      "\"Raw\"=hex:e9\n",
      u"old.reg", ansi);
  EXPECT_EQ(StringValue(ansi, CR, u"Café", u""), u"€ 5");
  EXPECT_EQ(FindValue(ansi, CR, u"Café", u"Path")->data, (Bytes{'%', 0, 'T', 0, '%', 0, 0, 0}));
  EXPECT_EQ(FindValue(ansi, CR, u"Café", u"Raw")->data, (Bytes{0xe9}));

  // UTF-8 with and without a byte order mark, LF line ends.
  for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
    MemoryStore utf8;
    ParseRegFile(mark + "Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\Caf\xC3\xA9]\n@=\"\xE2\x82\xAC 5\"\n",
                 u"utf8.reg", utf8);
    EXPECT_EQ(StringValue(utf8, CR, u"Café", u""), u"€ 5");
  }

  // UTF-16LE without a byte order mark.
  MemoryStore nomark;
  ParseRegFile(Utf16LeFile(u"Windows Registry Editor Version 5.00\r\n[HKCR\\X]\r\n@=\"y\"\r\n", false), u"x.reg",
               nomark);
  EXPECT_EQ(StringValue(nomark, CR, u"X", u""), u"y");
}

TEST(RegFileParser, AppliesDeletions) {
  MemoryStore store;
  ParseRegFile(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CLASSES_ROOT\\A\\B\\C]\n@=\"c\"\n"
      "[HKEY_CLASSES_ROOT\\A\\D]\n\"keep\"=\"1\"\n\"drop\"=\"2\"\n"
      "[-HKEY_CLASSES_ROOT\\A\\B]\n"
      "\"ignored\"=\"values below a deleted key go nowhere\"\n"
      "[HKEY_CLASSES_ROOT\\A\\D]\n\"drop\"=-\n"
      "[HKEY_CLASSES_ROOT\\A\\B\\E]\n",
      u"del.reg", store);
  EXPECT_EQ(SubkeyNames(store, CR, u"A"), (TextList{u"B", u"D"}));
  EXPECT_EQ(SubkeyNames(store, CR, u"A\\B"), (TextList{u"E"}));  // C went with the deleted B
  EXPECT_EQ(StringValue(store, CR, u"A\\D", u"keep"), u"1");
  EXPECT_EQ(StringValue(store, CR, u"A\\D", u"drop"), u"(missing)");
  EXPECT_EQ(store.Find(CR, u"A\\B")->Values().size(), 0u);

  // Deleting below HKEY_CLASSES_ROOT removes the key or value from the
  // machine's and the user's classes, which HKEY_CLASSES_ROOT is made of.
  MemoryStore layered;
  ParseRegFile(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Gone]\n@=\"m\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\Gone]\n@=\"u\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Kept]\n\"a\"=\"1\"\n\"b\"=\"2\"\n"
      "[-HKEY_CLASSES_ROOT\\Gone]\n"
      "[HKEY_CLASSES_ROOT\\Kept]\n\"a\"=-\n",
      u"layers.reg", layered);
  EXPECT_EQ(SubkeyNames(layered, CR, u""), (TextList{u"Kept"}));
  EXPECT_EQ(layered.Open(CR, u"Kept", 0)->ValueNames(), (TextList{u"b"}));
}

TEST(RegFileParser, LaysUserClassesOverMachineClasses) {
  MemoryStore store;
  // The user's keys come first in the file: the order of the file must not matter.
  ParseRegFile(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{C1}]\n@=\"user name\"\n\"UserOnly\"=\"u\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{C2}]\n@=\"user class\"\n"
      "[HKEY_CURRENT_USER\\Software\\Velkar\\Brannock\\1.x\\frmMain]\n\"Width\"=dword:00000100\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C1}]\n@=\"machine name\"\n\"MachineOnly\"=\"m\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C1}\\InprocServer32]\n@=\"m.dll\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C3}]\n@=\"machine class\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n@=\"kept\"\n"
      "[HKEY_CLASSES_ROOT\\CLSID\\{C4}]\n@=\"direct\"\n",
      u"merge.reg", store);
  EXPECT_EQ(SubkeyNames(store, CR, u"CLSID"), (TextList{u"{C1}", u"{C2}", u"{C3}", u"{C4}"}));
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{C1}", u""), u"user name");
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{C1}", u"UserOnly"), u"u");
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{C1}", u"MachineOnly"), u"m");
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{C1}\\InprocServer32", u""), u"m.dll");
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{C4}", u""), u"direct");
  // The other keys stay under their roots; the user's classes stay too.
  EXPECT_EQ(StringValue(store, RootKey::LocalMachine, u"Software\\Other", u""), u"kept");
  EXPECT_EQ(StringValue(store, RootKey::CurrentUser, u"Software\\Classes\\CLSID\\{C2}", u""), u"user class");
  const auto* width = FindValue(store, RootKey::CurrentUser, u"Software\\Velkar\\Brannock\\1.x\\frmMain", u"Width");
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(width->data, (Bytes{0, 1, 0, 0}));
}

TEST(RegFileParser, EnumeratesSubkeysByUpperCasedNameAndValuesInStoredOrder) {
  MemoryStore store;
  ParseRegFile(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CLASSES_ROOT\\K\\b]\n[HKEY_CLASSES_ROOT\\K\\_x]\n[HKEY_CLASSES_ROOT\\K\\Z]\n"
      "[HKEY_CLASSES_ROOT\\K\\a1]\n[HKEY_CLASSES_ROOT\\K\\A]\n[HKEY_CLASSES_ROOT\\K\\B\\deeper]\n"
      "[HKEY_CLASSES_ROOT\\K]\n\"zeta\"=\"1\"\n@=\"d\"\n\"Alpha\"=\"2\"\n\"ZETA\"=\"3\"\n",
      u"order.reg", store);
  // '_' (0x5F) sorts after 'Z' but before 'a': names are upper-cased first.
  EXPECT_EQ(SubkeyNames(store, CR, u"K"), (TextList{u"A", u"a1", u"b", u"Z", u"_x"}));
  // A value set again keeps its place and its first spelling.
  auto key = store.Open(CR, u"K", 0x20019);
  EXPECT_EQ(key->ValueNames(), (TextList{u"zeta", u"", u"Alpha"}));
  EXPECT_EQ(StringValue(store, CR, u"K", u"Zeta"), u"3");
}

TEST(RegFileParser, ReportsMalformedInputWithFileAndLine) {
  const std::string h = "Windows Registry Editor Version 5.00\n\n";
  const std::string k = h + "[HKEY_CLASSES_ROOT\\X]\n";
  auto error = [](const std::string& bytes) {
    return ParseErrorOf([&] {
      MemoryStore store;
      ParseRegFile(bytes, u"bad.reg", store);
    });
  };
  EXPECT_EQ(error(k + "\"v\"=hex:01,zz\n"), "bad.reg:4: invalid hex byte \"zz\"");
  EXPECT_EQ(error(k + "\"v\"=hex:01,\\\n  02,0g3\n"), "bad.reg:5: invalid hex byte \"0g3\"");
  EXPECT_EQ(error(k + "\"v\"=hex:01,\\\n"), "bad.reg:4: hex data ends after a continuation \"\\\"");
  EXPECT_EQ(error(k + "\"v\"=hex:01,,02\n"), "bad.reg:4: invalid hex byte \"\"");
  EXPECT_EQ(error(k + "\"v\"=hex:01,\n"), "bad.reg:4: missing hex byte after \",\"");
  EXPECT_EQ(error(k + "\"v\"=\"abc\n"), "bad.reg:4: unterminated string");
  EXPECT_EQ(error(k + "\"v=\"abc\"\n"), "bad.reg:4: missing \"=\" after the value name");
  EXPECT_EQ(error(k + "\"v\"=qword:1\n"), "bad.reg:4: unknown value type \"qword:1\"");
  EXPECT_EQ(error(k + "\"v\"=hex(zz):01\n"), "bad.reg:4: unknown value type \"hex(zz):01\"");
  EXPECT_EQ(error(k + "\"v\"=hex(2:01\n"), "bad.reg:4: unknown value type \"hex(2:01\"");
  EXPECT_EQ(error(k + "\"v\"=dword:123456789\n"), "bad.reg:4: invalid dword value \"123456789\"");
  EXPECT_EQ(error(k + "\"v\"=\"a\" junk\n"), "bad.reg:4: unexpected text after the value \" junk\"");
  EXPECT_EQ(error(k + "\"v\"=\n"), "bad.reg:4: missing value data");
  EXPECT_EQ(error(h + "[HKEY_CLASSES_ROOT\\CLSID\n"), "bad.reg:3: missing \"]\" at the end of the key line");
  EXPECT_EQ(error(h + "[HKEY_NOWHERE\\CLSID]\n"), "bad.reg:3: unknown root key \"HKEY_NOWHERE\"");
  EXPECT_EQ(error(h + "[HKEY_CLASSES_ROOT\\A\\\\B]\n"), "bad.reg:3: empty key name in \"HKEY_CLASSES_ROOT\\A\\\\B\"");
  EXPECT_EQ(error(h + "\"v\"=\"x\"\n"), "bad.reg:3: value outside of a key");
  EXPECT_EQ(error(k + "hello\x01world\n"), "bad.reg:4: unexpected text \"hello?world\"");
  EXPECT_EQ(error("\x01\x02\x03garbage"),
            "bad.reg:1: missing header \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
  EXPECT_EQ(error(""), "bad.reg: missing header \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
  EXPECT_EQ(error(Utf16LeFile(u"Windows Registry Editor Version 5.00\r\n") + "x"),
            "bad.reg: truncated UTF-16 text (odd number of bytes)");
  // Values of skipped roots are read (and checked) but not kept.
  MemoryStore store;
  ParseRegFile(h + "[HKEY_CURRENT_CONFIG\\Software]\n\"v\"=\"x\"\n", u"cc.reg", store);
  EXPECT_TRUE(store.Root(CR).Children().empty());
}

TEST(RegFileParser, RootNamesInAnyCaseAndTheirShortForms) {
  const std::string file =
      "Windows Registry Editor Version 5.00\n"
      "[hkey_classes_root\\A]\n@=\"a\"\n"
      "[HKCR\\B]\n@=\"b\"\n"
      "[HKEY_Local_MACHINE\\Software\\Classes\\C]\n@=\"c\"\n"
      "[hkcu\\Software\\D]\n@=\"d\"\n"
      "[HKU\\S-1\\E]\n@=\"e\"\n"
      "[HKEY_USERs\\S-1\\F]\n@=\"f\"\n";
  for (const std::string& bytes : {file, Utf16LeFile(Utf8ToUtf16(file))}) {
    MemoryStore store;
    ParseRegFile(bytes, u"roots.reg", store);
    EXPECT_EQ(StringValue(store, RootKey::ClassesRoot, u"A", u""), u"a");
    EXPECT_EQ(StringValue(store, RootKey::ClassesRoot, u"B", u""), u"b");
    EXPECT_EQ(StringValue(store, RootKey::ClassesRoot, u"C", u""), u"c") << "the machine's classes";
    EXPECT_EQ(StringValue(store, RootKey::CurrentUser, u"Software\\D", u""), u"d");
    EXPECT_EQ(StringValue(store, RootKey::Users, u"S-1\\E", u""), u"e");
    EXPECT_EQ(StringValue(store, RootKey::Users, u"S-1\\F", u""), u"f");
  }
  // Names that differ only late, or only in length, are no roots.
  for (const char* wrong : {"HKEY_CLASSES_ROOX", "HKEY_CLASSES_ROOTS", "hkey_classes_roo", "HKC"}) {
    MemoryStore store;
    EXPECT_EQ(ParseErrorOf([&] {
                ParseRegFile(std::string("REGEDIT4\n[") + wrong + "\\X]\n", u"bad.reg", store);
              }),
              std::string("bad.reg:2: unknown root key \"") + wrong + "\"");
  }
}

TEST(RegFileParser, LoadsFilesAndNamesThemInErrors) {
  MemoryStore store;
  LoadRegFile(BRANNOCK_TEST_DATA "/registry/regedit_export.reg", store);
  EXPECT_EQ(StringValue(store, CR, u"CLSID\\{0D2E74C4-3C34-11D2-A27E-00C04FC30871}", u""), u"Sample Shell Folder");
  EXPECT_EQ(SubkeyNames(store, CR, u"TypeLib\\{7D868ACD-1A5D-4A47-A247-F39741353012}"), (TextList{u"1.0", u"2.1"}));
  EXPECT_EQ(ParseErrorOf([&] { LoadRegFile("/nonexistent/x.reg", store); }),
            "/nonexistent/x.reg: cannot read the file: No such file or directory");
  EXPECT_EQ(ParseErrorOf([&] { LoadRegFile(BRANNOCK_TEST_DATA "/registry/bad_hex.reg", store); }),
            BRANNOCK_TEST_DATA "/registry/bad_hex.reg:7: invalid hex byte \"0x\"");
}
