#include "registry/reg_file_writer.h"

#include <gtest/gtest.h>

#include "registry/reg_file_parser.h"
#include "registry_files_support.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {

const Text kSettings = u"Software\\Velkar\\Brannock\\1.x";

MemoryStore SampleStore() {
  MemoryStore store;
  const Text frm = kSettings + u"\\frmMain";
  store.SetDword(CU, frm, u"Left", 0xFFFFFFF6);
  store.SetString(CU, frm, u"", u"default");
  store.SetString(CU, frm, u"Quote \"and\" back\\slash", u"C:\\a \"b\"");
  store.SetString(CU, frm, u"Multi line", u"one\r\ntwo");
  store.SetString(CU, frm, u"Ünïcødé 名前", u"значение", RegType::ExpandSz);
  Bytes big;
  for (int i = 0; i < 300; ++i) big.push_back(static_cast<uint8_t>(i));
  store.SetBytes(CU, frm, u"Placement", RegType::Binary, big);
  store.SetBytes(CU, frm, u"Empty", RegType::None, {});
  store.SetBytes(CU, frm, u"Odd string", RegType::Sz, {'a', 0, 'b'});
  store.SetBytes(CU, frm, u"Quad", RegType::Qword, {1, 2, 3, 4, 5, 6, 7, 8});
  store.SetBytes(CU, frm, u"Short dword", RegType::Dword, {1, 2});
  store.SetBytes(CU, frm, u"Custom", 0x12345, {9});
  store.CreatePath(CU, kSettings + u"\\Empty key");
  store.SetString(CU, kSettings + u"\\b", u"x", u"y");
  store.SetString(CU, u"Software\\Other", u"x", u"not exported");
  return store;
}

}  // namespace

TEST(RegFileWriter, RoundTripsASubtree) {
  MemoryStore store = SampleStore();
  const std::string bytes = RegFileBytes(store, CU, kSettings);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  const Text text = RegFileText(store, CU, kSettings);
  EXPECT_EQ(text.substr(0, 38), u"Windows Registry Editor Version 5.00\r\n");
  EXPECT_NE(text.find(u"\r\n[HKEY_CURRENT_USER\\Software\\Velkar\\Brannock\\1.x\\frmMain]\r\n"
                      u"\"Left\"=dword:fffffff6\r\n@=\"default\"\r\n"),
            Text::npos);
  EXPECT_NE(text.find(u"\"Quote \\\"and\\\" back\\\\slash\"=\"C:\\\\a \\\"b\\\"\"\r\n"), Text::npos);
  // Long hex data is wrapped with continuation lines no wider than 80.
  for (const Text& line : Split(text, u'\n')) EXPECT_LE(line.size(), 81u);

  MemoryStore back;
  ParseRegFile(bytes, u"settings.reg", back);
  EXPECT_EQ(DumpTree(*back.Find(CU, kSettings)), DumpTree(*store.Find(CU, kSettings)));
  EXPECT_EQ(back.Find(CU, u"Software\\Other"), nullptr);
  EXPECT_EQ(SubkeyNames(back, CU, kSettings), (TextList{u"b", u"Empty key", u"frmMain"}));

  // A missing key gives the header alone; a whole root works as well.
  EXPECT_EQ(RegFileText(store, CU, u"Software\\Missing"), u"Windows Registry Editor Version 5.00\r\n\r\n");
  MemoryStore all;
  ParseRegFile(RegFileBytes(store, CU, u""), u"all.reg", all);
  EXPECT_EQ(DumpTree(all.Root(CU)), DumpTree(store.Root(CU)));
}

// Hex data wraps where regedit wraps it: a line takes one more byte while
// it and the backslash fit in 80 columns, and each continuation line holds 25
// bytes after two blanks. The lines are those of regedit exports of
// Windows (the value name sets where the first line ends).
TEST(RegFileWriter, WrapsHexDataAsRegeditDoes) {
  MemoryStore store;
  store.SetString(CU, u"K", u"ImagePath", u"system32\\drivers\\msseccore.sys", RegType::ExpandSz);
  store.SetString(CU, u"K", u"", u"%SystemRoot%\\system32\\explorerframe.dll", RegType::ExpandSz);
  EXPECT_EQ(RegFileText(store, CU, u"K"),
            u"Windows Registry Editor Version 5.00\r\n\r\n"
            u"[HKEY_CURRENT_USER\\K]\r\n"
            u"\"ImagePath\"=hex(2):73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,64,00,\\\r\n"
            u"  72,00,69,00,76,00,65,00,72,00,73,00,5c,00,6d,00,73,00,73,00,65,00,63,00,63,\\\r\n"
            u"  00,6f,00,72,00,65,00,2e,00,73,00,79,00,73,00,00,00\r\n"
            u"@=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,\\\r\n"
            u"  00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,65,00,78,00,\\\r\n"
            u"  70,00,6c,00,6f,00,72,00,65,00,72,00,66,00,72,00,61,00,6d,00,65,00,2e,00,64,\\\r\n"
            u"  00,6c,00,6c,00,00,00\r\n"
            u"\r\n");
}
