#include <gtest/gtest.h>

#include "registry/registry_error.h"
#include "registry/registry_reader.h"
#include "support/error_text.h"
#include "support/view_backend.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using brannock::testing::ErrorText;
using brannock::testing::ViewBackend;

namespace {


}  // namespace

TEST(RegistryReader, ViewsCarryTheirAccessMasks) {
  ViewBackend b;
  b.wow64 = false;
  EXPECT_EQ(RegistryReader::ProcessView(b).AccessMask(), 0x20019u);
  EXPECT_EQ(RegistryReader::NativeView(b).AccessMask(), 0x20019u);
  b.wow64 = true;
  EXPECT_EQ(RegistryReader::ProcessView(b).AccessMask(), 0x20019u);
  EXPECT_EQ(RegistryReader::NativeView(b).AccessMask(), 0x20119u);
}

TEST(RegistryReader, OpenKeyReadOnlyFallsBackThroughThreeMasks) {
  ViewBackend b;
  b.redirected.CreatePath(CR, u"CLSID\\{A}");
  b.native.CreatePath(CR, u"CLSID\\{A}");

  // The first mask that succeeds wins.
  RegistryReader process = RegistryReader::ProcessView(b);
  ASSERT_TRUE(process.OpenKeyReadOnly(u"CLSID\\{A}"));
  EXPECT_EQ(b.Masks(), (std::vector<uint32_t>{0x20019}));
  process.CloseKey();

  // Refused masks are tried in order; the view flag is joined to each.
  b.opens.clear();
  b.refusedMasks = {0x20019, 0x20009};
  RegistryReader native = RegistryReader::NativeView(b);
  ASSERT_TRUE(native.OpenKeyReadOnly(u"CLSID\\{A}"));
  EXPECT_EQ(b.Masks(), (std::vector<uint32_t>{0x20119, 0x20109, 0x0101}));
  EXPECT_TRUE(native.HasOpenKey());

  // All refused: false, no key open, and the key opened before is closed.
  b.opens.clear();
  b.refusedMasks = {0x20019, 0x20009, 0x0001};
  EXPECT_FALSE(native.OpenKeyReadOnly(u"CLSID\\{A}"));
  EXPECT_EQ(b.Masks(), (std::vector<uint32_t>{0x20119, 0x20109, 0x0101}));
  EXPECT_FALSE(native.HasOpenKey());
  EXPECT_EQ(b.openKeys, 0);

  // A missing key is no error either.
  b.refusedMasks.clear();
  EXPECT_FALSE(process.OpenKeyReadOnly(u"CLSID\\{missing}"));
  EXPECT_FALSE(process.HasOpenKey());
}

TEST(RegistryReader, OpenKeyMakesOneAttemptAndKeyExistsLeavesTheOpenKey) {
  ViewBackend b;
  b.redirected.SetString(CR, u"A", u"", u"a");
  b.native.CreatePath(CR, u"B");
  RegistryReader native = RegistryReader::NativeView(b);

  b.refusedMasks = {0x20019};
  EXPECT_FALSE(native.OpenKey(u"B"));
  EXPECT_EQ(b.Masks(), (std::vector<uint32_t>{0x20119}));

  b.refusedMasks.clear();
  b.opens.clear();
  ASSERT_TRUE(native.OpenKey(u"B"));
  EXPECT_TRUE(native.KeyExists(u"B"));
  EXPECT_FALSE(native.KeyExists(u"A"));  // only in the 32-bit view
  EXPECT_EQ(b.opens.back().access, 0x20109u);
  EXPECT_TRUE(native.HasOpenKey());
  EXPECT_EQ(b.openKeys, 1);  // KeyExists closed its own key at once

  RegistryReader process = RegistryReader::ProcessView(b);
  EXPECT_TRUE(process.KeyExists(u"a"));  // names match without regard to case
  EXPECT_EQ(b.opens.back().access, 0x20009u);
  native.CloseKey();
  native.CloseKey();  // harmless when nothing is open
  EXPECT_EQ(b.openKeys, 0);
}

TEST(RegistryReader, GetKeyNamesAndGetValueNamesClearAndEnumerate) {
  MemoryStore s;
  for (const char16_t* name : {u"b", u"_x", u"A1", u"a", u"Version", u"0"}) s.CreatePath(CR, Text(u"K\\") + name);
  s.SetString(CR, u"K", u"zeta", u"1");
  s.SetString(CR, u"K", u"", u"default");
  s.SetString(CR, u"K", u"Alpha", u"2");

  RegistryReader r = RegistryReader::ProcessView(s);
  TextList names{u"stale"};
  r.GetKeyNames(names);  // no key open: cleared, nothing added
  EXPECT_TRUE(names.empty());

  ASSERT_TRUE(r.OpenKeyReadOnly(u"K"));
  names = {u"stale"};
  r.GetKeyNames(names);
  // Upper-cased ordinal order: digits, then letters, then "_" (0x5F).
  EXPECT_EQ(names, (TextList{u"0", u"a", u"A1", u"b", u"Version", u"_x"}));

  r.GetValueNames(names);
  EXPECT_EQ(names, (TextList{u"zeta", u"", u"Alpha"}));  // stored order, default as ""

  ASSERT_TRUE(r.OpenKeyReadOnly(u"K\\b"));
  r.GetKeyNames(names);
  EXPECT_TRUE(names.empty());
}

TEST(RegistryReader, ReadString) {
  MemoryStore s;
  s.SetBytes(CR, u"K", u"embedded", RegType::Sz, MemoryStore::TextData(Text(u"abc\0def", 7)));
  s.SetString(CR, u"K", u"expand", u"%SystemRoot%\\x.dll", RegType::ExpandSz);
  s.SetBytes(CR, u"K", u"unterminated", RegType::Sz, {'h', 0, 'i', 0});
  s.SetBytes(CR, u"K", u"empty", RegType::Sz, {});
  s.SetBytes(CR, u"K", u"emptyBinary", RegType::Binary, {});
  s.SetDword(CR, u"K", u"", 7);
  s.SetBytes(CR, u"K", u"bin", RegType::Binary, {'a', 0});

  RegistryReader r = RegistryReader::ProcessView(s);
  EXPECT_EQ(r.ReadString(u"x"), u"");  // no key open
  ASSERT_TRUE(r.OpenKeyReadOnly(u"K"));
  EXPECT_EQ(r.ReadString(u"embedded"), u"abc");
  EXPECT_EQ(r.ReadString(u"EXPAND"), u"%SystemRoot%\\x.dll");  // never expanded
  EXPECT_EQ(r.ReadString(u"unterminated"), u"hi");
  EXPECT_EQ(r.ReadString(u"empty"), u"");
  EXPECT_EQ(r.ReadString(u"emptyBinary"), u"");  // no data: empty, whatever the type
  EXPECT_EQ(r.ReadString(u"missing"), u"");
  EXPECT_EQ(ErrorText([&] { r.ReadString(u""); }), "Invalid data type for ''");
  EXPECT_EQ(ErrorText([&] { r.ReadString(u"bin"); }), "Invalid data type for 'bin'");

  EXPECT_TRUE(r.ValueExists(u""));
  EXPECT_TRUE(r.ValueExists(u"Bin"));
  EXPECT_FALSE(r.ValueExists(u"missing"));
  uint32_t type = 0, size = 0;
  ASSERT_TRUE(r.GetDataInfo(u"embedded", &type, &size));
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(size, 16u);
}

TEST(RegistryReader, TextUpToNulStopsAtTheFirstNulOrTheLastWholeUnit) {
  EXPECT_EQ(TextUpToNul({}), u"");
  EXPECT_EQ(TextUpToNul({'A', 0, 'B', 0}), u"AB") << "no terminator: up to the end";
  EXPECT_EQ(TextUpToNul({'A', 0, 0, 0, 'B', 0}), u"A");
  EXPECT_EQ(TextUpToNul({0, 0, 'B', 0}), u"");
  EXPECT_EQ(TextUpToNul({'A', 0, 'B'}), u"A") << "an odd last byte is no unit";
  EXPECT_EQ(TextUpToNul({0xAC, 0x20, 0x00, 0x01, 0x3D, 0xD8, 0x00, 0xDE}), u"\u20AC\u0100\U0001F600");
  EXPECT_EQ(TextUpToNul({0x00, 0x01, 0x00, 0x00}), u"\u0100") << "a zero low byte alone is no NUL";
}
