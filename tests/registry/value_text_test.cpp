#include <gtest/gtest.h>

#include <cstdlib>

#include "registry/registry_error.h"
#include "registry/value_text.h"
#include "support/error_text.h"
#include "support/view_backend.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using brannock::testing::ViewBackend;

namespace {


// GetRegValueText of value "v" of key "K" holding the given data.
Text ValueText(uint32_t type, Bytes data, bool asHex = true) {
  MemoryStore s;
  s.SetBytes(CR, u"K", u"v", type, std::move(data));
  return GetRegValueText(s, CR, u"K", u"v", asHex);
}

std::string ErrorOf(uint32_t type, Bytes data) {
  return brannock::testing::ErrorText([&] { ValueText(type, std::move(data)); });
}

}  // namespace

TEST(GetRegValueText, MissingKeysAndValuesGiveEmptyText) {
  MemoryStore s;
  s.SetString(CR, u"K", u"named", u"x");
  EXPECT_EQ(GetRegValueText(s, CR, u"K", u"", true), u"");  // default value not set
  EXPECT_EQ(GetRegValueText(s, CR, u"K", u"other", true), u"");
  EXPECT_EQ(GetRegValueText(s, CR, u"Missing", u"", true), u"");
  EXPECT_EQ(GetRegValueText(s, CR, u"k", u"NAMED", true), u"x");
}

TEST(GetRegValueText, Strings) {
  EXPECT_EQ(ValueText(RegType::Sz, MemoryStore::TextData(Text(u"abc\0def", 7))), u"abc");
  EXPECT_EQ(ValueText(RegType::Sz, {}), u"");
  EXPECT_EQ(ValueText(RegType::Sz, {'o', 0, 'k', 0}), u"ok");  // no terminating NUL
  // Strings are not limited to the reading buffer of binary data.
  EXPECT_EQ(ValueText(RegType::Sz, MemoryStore::TextData(Text(5000, u'x'))), Text(5000, u'x'));

  EXPECT_EQ(ValueText(RegType::MultiSz, MemoryStore::TextData(Text(u"one\0two\0", 8))), u"one");
  EXPECT_EQ(ValueText(RegType::MultiSz, {}), u"");
  Bytes multi(8194, 0);
  multi[0] = 'a';
  EXPECT_EQ(ValueText(RegType::MultiSz, multi), u"a");
  multi.push_back(0);
  EXPECT_EQ(ErrorOf(RegType::MultiSz, multi), "Invalid data type for 'v'");
}

TEST(GetRegValueText, Numbers) {
  EXPECT_EQ(ValueText(RegType::Dword, {0xFF, 0xFF, 0xFF, 0xFF}), u"-1");
  EXPECT_EQ(ValueText(RegType::Dword, {0x00, 0x00, 0x00, 0x80}), u"-2147483648");
  EXPECT_EQ(ValueText(RegType::Dword, {0xFF, 0xFF, 0xFF, 0x7F}), u"2147483647");
  EXPECT_EQ(ValueText(RegType::Dword, {0x2A, 0x01, 0x00, 0x00}), u"298");
  // Big-endian DWORDs are read as stored, little-endian.
  EXPECT_EQ(ValueText(RegType::DwordBigEndian, {0x01, 0x00, 0x00, 0x00}), u"1");
  EXPECT_EQ(ValueText(RegType::DwordBigEndian, {0x00, 0x00, 0x00, 0x01}), u"16777216");
  // Data longer than the integer: the platform refuses to deliver it.
  EXPECT_EQ(ErrorOf(RegType::Dword, {1, 0, 0, 0, 0}), "Failed to get data for 'v'");
  EXPECT_EQ(ErrorOf(RegType::DwordBigEndian, Bytes(8, 0)), "Failed to get data for 'v'");
  // A QWORD renders as bytes.
  EXPECT_EQ(ValueText(RegType::Qword, {1, 0, 0, 0, 0, 0, 0, 0}), u"01 00 00 00 00 00 00 00");
}

TEST(GetRegValueText, BinaryAsHexOrCharacters) {
  EXPECT_EQ(ValueText(RegType::Binary, {0x00, 0x1A, 0xFF}, true), u"00 1A FF");
  EXPECT_EQ(ValueText(RegType::Binary, {0x00, 0x1A, 0xFF}, false), u"..\u00FF");
  EXPECT_EQ(ValueText(RegType::Binary, {0x48, 0x69, 0x0A}, false), u"Hi.");
  EXPECT_EQ(ValueText(RegType::Binary, {0x20, 0x1F, 0x7F}, false), u" .\u007F");
  EXPECT_EQ(ValueText(RegType::Binary, {}, true), u"");
  EXPECT_EQ(ValueText(RegType::Binary, {}, false), u"");
  EXPECT_EQ(ValueText(RegType::Binary, {0xAB}, true), u"AB");
  // Every other type code renders its bytes the same way.
  for (uint32_t type : {RegType::None, RegType::Link, RegType::ResourceList, RegType::FullResourceDescriptor,
                        RegType::ResourceRequirementsList, 12u, 0xFFFF0000u}) {
    EXPECT_EQ(ValueText(type, {0x41, 0x42}, true), u"41 42") << type;
    EXPECT_EQ(ValueText(type, {0x41, 0x42}, false), u"AB") << type;
  }
  // 8194 bytes is the reading buffer: it renders, one more byte does not.
  const Text hex = ValueText(RegType::Binary, Bytes(8194, 0x5A), true);
  EXPECT_EQ(hex.size(), 8194u * 3 - 1);
  EXPECT_EQ(ValueText(RegType::Binary, Bytes(8194, 0x5A), false), Text(8194, u'Z'));
  EXPECT_EQ(ErrorOf(RegType::Binary, Bytes(8195, 0)), "Invalid data type for 'v'");
  EXPECT_EQ(ErrorOf(RegType::None, Bytes(8195, 0)), "Invalid data type for 'v'");
}

TEST(GetRegValueText, ExpandSzUsesTheEnvironmentOfTheSource) {
  // The host's variables never reach a registry of another machine.
  ::setenv("SystemRoot", "/host/root", 1);
  ::setenv("BRANNOCK_TEST_HOST", "host", 1);
  MemoryStore s;
  s.SetWindowsEnvironment({u"BIG=" + Text(5000, u'b'), u"FIT=" + Text(4090, u'f'), u"TestRoot=C:\\Windows"});
  auto expand = [&](const Text& raw) {
    s.SetBytes(CR, u"K", u"v", RegType::ExpandSz, MemoryStore::TextData(raw));
    return GetRegValueText(s, CR, u"K", u"v", true);
  };
  EXPECT_EQ(expand(u"%TestRoot%\\x.dll"), u"C:\\Windows\\x.dll");
  EXPECT_EQ(expand(u"%TESTROOT%\\x.dll"), u"C:\\Windows\\x.dll");  // names without regard to case
  EXPECT_EQ(expand(u"%Missing%\\x.dll"), u"%Missing%\\x.dll");
  EXPECT_EQ(expand(u"%SystemRoot%\\%BRANNOCK_TEST_HOST%"), u"%SystemRoot%\\%BRANNOCK_TEST_HOST%");
  EXPECT_EQ(expand(Text(u"%TestRoot%\0tail", 15)), u"C:\\Windows");
  // An expansion that does not fit 4097 characters leaves the text as stored.
  EXPECT_EQ(expand(u"%BIG%"), u"%BIG%");
  EXPECT_EQ(expand(u"%FIT%abcdef"), Text(4090, u'f') + u"abcdef");  // 4096 characters and the NUL
  EXPECT_EQ(expand(u"%FIT%abcdefg"), u"%FIT%abcdefg");
  // Plain strings are never expanded.
  s.SetString(CR, u"K", u"sz", u"%TestRoot%");
  EXPECT_EQ(GetRegValueText(s, CR, u"K", u"sz", true), u"%TestRoot%");

  // Without an environment of its own a store has the Windows defaults.
  MemoryStore plain;
  plain.SetBytes(CR, u"K", u"v", RegType::ExpandSz, MemoryStore::TextData(u"%SystemRoot%\\x.dll;%windir%"));
  EXPECT_EQ(GetRegValueText(plain, CR, u"K", u"v", true), u"C:\\Windows\\x.dll;C:\\Windows");
  ::unsetenv("SystemRoot");
  ::unsetenv("BRANNOCK_TEST_HOST");
}

TEST(GetRegValueText, ReadsTheNativeViewWithOneOpen) {
  ViewBackend b;
  b.redirected.SetString(CR, u"CLSID\\{A}\\InprocServer32", u"", u"32-bit.dll");
  b.native.SetString(CR, u"CLSID\\{A}\\InprocServer32", u"", u"64-bit.dll");
  b.native.SetBytes(CR, u"CLSID\\{A}", u"big", RegType::Binary, Bytes(9000, 0));

  EXPECT_EQ(GetRegValueText(b, CR, u"CLSID\\{A}\\InprocServer32", u"", true), u"64-bit.dll");
  EXPECT_EQ(b.Masks(), (std::vector<uint32_t>{0x20119}));
  EXPECT_EQ(b.openKeys, 0);

  // Without WOW64 there is one view, read with KEY_READ.
  b.wow64 = false;
  b.opens.clear();
  EXPECT_EQ(GetRegValueText(b, CR, u"CLSID\\{A}\\InprocServer32", u"", true), u"32-bit.dll");
  EXPECT_EQ(b.Masks(), (std::vector<uint32_t>{0x20019}));

  // One attempt only: a refused KEY_READ gives the empty text.
  b.wow64 = true;
  b.refusedMasks = {0x20019};
  b.opens.clear();
  EXPECT_EQ(GetRegValueText(b, CR, u"CLSID\\{A}\\InprocServer32", u"", true), u"");
  EXPECT_EQ(b.opens.size(), 1u);

  // The key is closed also when an error passes through.
  b.refusedMasks.clear();
  EXPECT_THROW(GetRegValueText(b, CR, u"CLSID\\{A}", u"big", true), RegistryError);
  EXPECT_EQ(b.openKeys, 0);
}

TEST(GetRegKeyNames, NativeViewAndUntouchedListWhenMissing) {
  ViewBackend b;
  b.redirected.CreatePath(CR, u"CLSID\\{A}\\LocalServer32");
  b.native.CreatePath(CR, u"CLSID\\{A}\\InprocServer32");
  b.native.CreatePath(CR, u"CLSID\\{A}\\ProgID");

  TextList names{u"kept"};
  GetRegKeyNames(b, CR, u"CLSID\\{missing}", names);
  EXPECT_EQ(names, (TextList{u"kept"}));
  GetRegKeyNames(b, CR, u"CLSID\\{A}", names);
  EXPECT_EQ(names, (TextList{u"InprocServer32", u"ProgID"}));
  EXPECT_EQ(b.opens.back().access, 0x20119u);
  EXPECT_EQ(b.openKeys, 0);
}
