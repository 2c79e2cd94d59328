// The index of a registry file: keys built when first read must be the
// keys the file gives when it is applied line by line.
#include "registry/key_index.h"

#include <gtest/gtest.h>

#include "registry/input_limits.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_parse_error.h"
#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {

constexpr RootKey kRoots[] = {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users};

// Every root of a store, whole.
std::string Dump(MemoryStore& store) {
  std::string out;
  for (RootKey root : kRoots) out += "root " + std::to_string(static_cast<int>(root)) + "\n" + DumpTree(store.Root(root));
  return out;
}

}  // namespace

TEST(KeyIndex, PathsInEnumerationOrderComponentByComponent) {
  EXPECT_LT(CompareKeyPaths(u"A", u"A\\B"), 0);
  EXPECT_LT(CompareKeyPaths(u"A\\B", u"AB"), 0) << "a key's subkeys before its next sibling";
  EXPECT_LT(CompareKeyPaths(u"A\\Z", u"A B"), 0) << "the separator before a blank";
  EXPECT_EQ(CompareKeyPaths(u"clsid\\{x}", u"CLSID\\{X}"), 0);
  EXPECT_LT(CompareKeyPaths(u"K\\Z", u"K\\_x"), 0) << "letters upper-cased, as subkeys enumerate";
  EXPECT_LT(CompareKeyPaths(u"K\\a1", u"K\\_x"), 0) << "a1 as A1, before the underscore, as the store sorts";
  EXPECT_EQ(SamePrefix(u"CLSID\\{0123}", u"CLSID\\{0124}"), 10u);
  int order = 9;
  EXPECT_EQ(SharedComponents(u"CLSID\\{1}\\X", u"clsid\\{1}\\Y", &order), 9u) << "whole components, any case";
  EXPECT_EQ(SharedComponents(u"K", u"K\\x", &order), 1u);
  EXPECT_EQ(SharedComponents(u"K\\x", u"K_x", &order), 0u) << "K_x is no key below K";
  EXPECT_EQ(SharedComponents(u"A\\Bc\\d", u"A\\B", &order), 1u);
  EXPECT_EQ(SharedComponents(u"a\\b", u"A\\B", &order), 3u);
  EXPECT_EQ(SharedComponents(u"", u"K", &order), 0u);
  for (auto [a, b] : {std::pair<TextView, TextView>{u"A", u"A\\B"}, {u"A\\B", u"AB"}, {u"K\\Z", u"K\\_x"},
                      {u"clsid\\{x}", u"CLSID\\{X}"}, {u"AB", u"A\\B"}, {u"b", u"a"}, {u"", u"x"}}) {
    SharedComponents(a, b, &order);
    EXPECT_EQ(order, CompareKeyPaths(a, b)) << Utf16ToUtf8(a) << " " << Utf16ToUtf8(b);
  }
  EXPECT_TRUE(HasNoEmptyComponent(u""));
  EXPECT_TRUE(HasNoEmptyComponent(u"A\\B"));
  for (TextView bad : {u"\\A", u"A\\", u"A\\\\B", u"\\"}) EXPECT_FALSE(HasNoEmptyComponent(bad)) << Utf16ToUtf8(bad);
}

TEST(KeyIndex, BuildsWhatApplyingTheFileLineByLineBuilds) {
  // Out of order, keys named twice and in other spellings, values set again,
  // the machine's and the user's classes: a deletion of a key that is not
  // there makes the reader apply the same file line by line instead.
  const std::string file =
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CLASSES_ROOT\\K\\b\\deep\\deeper]\n@=\"d\"\n"
      "[HKEY_CLASSES_ROOT\\k\\_x]\n\"v\"=dword:00000001\n"
      "[HKEY_CLASSES_ROOT\\K]\n\"zeta\"=\"1\"\n@=\"first\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\K]\n@=\"user\"\n\"UserOnly\"=hex:01,02\n"
      "[HKEY_CLASSES_ROOT\\K\\B]\n\"Bin\"=hex(2):41,00,00,00\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\K\\Z]\n@=\"machine\"\n"
      "[HKEY_CLASSES_ROOT\\K]\n\"ZETA\"=\"2\"\n\"Alpha\"=\"3\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}]\n@=\"m\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{1}]\n@=\"u\"\n"
      "[HKEY_USERS\\S-1\\Software]\n\"x\"=\"y\"\n"
      "[HKEY_CLASSES_ROOT]\n@=\"root\"\n";
  MemoryStore indexed;
  ParseRegFile(file, u"file.reg", indexed);
  MemoryStore applied;
  ParseRegFile(file + "[-HKEY_CLASSES_ROOT\\Missing]\n", u"file.reg", applied);
  EXPECT_EQ(Dump(indexed), Dump(applied));
  EXPECT_EQ(StringValue(indexed, RootKey::ClassesRoot, u"k", u"Zeta"), u"2");
  EXPECT_EQ(SubkeyNames(indexed, RootKey::ClassesRoot, u"K"), (TextList{u"b", u"Z", u"_x"}))
      << "the first spelling in the file";

  // The same of a UTF-16 export.
  MemoryStore wide;
  ParseRegFile(Utf16LeFile(Utf8ToUtf16(file)), u"wide.reg", wide);
  EXPECT_EQ(Dump(wide), Dump(applied));
}

TEST(KeyIndex, ManyRunsOutOfOrderKeepTheFilesOrderAmongEqualKeys) {
  // Keys in a scrambled order, many runs of ordered ones, each key named
  // three times in different spellings: the value that the last line sets
  // wins, as applied line by line.
  std::string file = "Windows Registry Editor Version 5.00\n";
  uint32_t seed = 12345;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 300; ++i) {
      seed = seed * 1103515245 + 12345;
      const int k = static_cast<int>((seed >> 8) % 97);
      const std::string name = (round == 1 ? "key_" : "KEY_") + std::to_string(k % 10) + "\\s" + std::to_string(k);
      file += "[HKEY_CLASSES_ROOT\\" + name + "]\n\"v\"=\"" + std::to_string(round * 1000 + i) + "\"\n";
      if (k % 7 == 0) file += "[HKEY_CLASSES_ROOT\\" + name + "\\_under]\n@=\"" + std::to_string(i) + "\"\n";
    }
  }
  MemoryStore indexed;
  ParseRegFile(file, u"file.reg", indexed);
  MemoryStore applied;
  ParseRegFile(file + "[-HKEY_CLASSES_ROOT\\Missing]\n", u"file.reg", applied);
  EXPECT_EQ(Dump(indexed), Dump(applied));
}

namespace {

// Every value of `applied`, as an open key of `indexed` reads it one by one
// before any of its values are built, and a name that none has.
void ExpectSameValueReads(MemoryStore& indexed, const MemoryStore::Node& applied, RootKey root, const Text& path) {
  for (const MemoryStore::Value& v : applied.Values()) {
    auto key = indexed.Open(root, path, 0x20019);
    ASSERT_NE(key, nullptr) << Utf16ToUtf8(path);
    uint32_t type = 0;
    uint32_t size = 0;
    Bytes data;
    ASSERT_TRUE(key->QueryValue(UpperAscii(v.name), &type, &size, &data)) << Utf16ToUtf8(path + u":" + v.name);
    EXPECT_EQ(type, v.type) << Utf16ToUtf8(path + u":" + v.name);
    EXPECT_EQ(size, v.data.size());
    EXPECT_EQ(data, v.data) << Utf16ToUtf8(path + u":" + v.name);
    EXPECT_FALSE(key->QueryValue(v.name + u"-none", nullptr, nullptr, nullptr));
  }
  for (const auto& [name, child] : applied.Children())
    ExpectSameValueReads(indexed, *child, root, path.empty() ? child->name : path + u"\\" + child->name);
}

}  // namespace

TEST(KeyIndex, OneValueReadWithoutBuildingTheKeysValues) {
  // Values set again in other spellings, a key named in several places, the
  // machine's and the user's classes laid over each other: each value read
  // alone from a fresh store is the one applying the file keeps.
  const std::string file =
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CLASSES_ROOT\\K]\n\"zeta\"=\"1\"\n@=\"first\"\n\"Zeta\"=\"1b\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\K]\n@=\"user\"\n\"UserOnly\"=hex:01,02\n"
      "[HKEY_CLASSES_ROOT\\K\\B]\n\"Bin\"=hex(2):41,00,00,00\n"
      "[HKEY_CLASSES_ROOT\\k]\n\"ZETA\"=\"2\"\n\"Alpha\"=dword:00000003\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}]\n@=\"m\"\n\"Only\"=\"machine\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{1}]\n@=\"u\"\n"
      "[HKEY_CLASSES_ROOT\\K]\n\"alpha\"=\"last\"\n";
  MemoryStore applied;
  ParseRegFile(file + "[-HKEY_CLASSES_ROOT\\Missing]\n", u"file.reg", applied);
  for (RootKey root : kRoots) {
    MemoryStore indexed;
    ParseRegFile(file, u"file.reg", indexed);
    ExpectSameValueReads(indexed, applied.Root(root), root, Text());
    EXPECT_EQ(Dump(indexed), Dump(applied)) << "reading values built nothing that differs";
  }
  MemoryStore indexed;
  ParseRegFile(file, u"file.reg", indexed);
  EXPECT_EQ(StringValue(indexed, RootKey::ClassesRoot, u"K", u"ALPHA"), u"last");
  EXPECT_EQ(StringValue(indexed, RootKey::ClassesRoot, u"CLSID\\{1}", u""), u"u");
}

TEST(KeyIndex, AFileThatDoesNotReadLeavesTheStoreAsItWas) {
  MemoryStore store;
  store.SetString(RootKey::ClassesRoot, u"Before", u"", u"kept");
  const std::string before = Dump(store);
  EXPECT_EQ(ParseErrorOf([&] {
              ParseRegFile("REGEDIT4\n[HKEY_CLASSES_ROOT\\New]\n@=\"x\"\n\"v\"=hex:zz\n", u"bad.reg", store);
            }),
            "bad.reg:4: invalid hex byte \"zz\"");
  EXPECT_EQ(Dump(store), before);
}

TEST(KeyIndex, ValuesOfAKeyNamedTwiceCountTogetherAgainstTheLimit) {
  // Two runs of the same names: one key's values, under the limit.
  std::string twice = "Windows Registry Editor Version 5.00\n";
  for (int run = 0; run < 2; ++run) {
    twice += "[HKEY_CLASSES_ROOT\\Many]\n";
    for (size_t i = 0; i < kMaxValuesPerKey; ++i) twice += "\"v" + std::to_string(i) + "\"=\"x\"\n";
  }
  MemoryStore store;
  ParseRegFile(twice, u"twice.reg", store);
  EXPECT_EQ(store.Find(RootKey::ClassesRoot, u"Many")->Values().size(), kMaxValuesPerKey);
  // One name more, in the second run: over it, on the line of that value.
  const std::string over = twice + "[HKEY_CLASSES_ROOT\\Many]\n\"one more\"=\"x\"\n";
  EXPECT_EQ(ParseErrorOf([&] {
              MemoryStore again;
              ParseRegFile(over, u"over.reg", again);
            }),
            "over.reg:" + std::to_string(2 * kMaxValuesPerKey + 5) + ": a key has more than " +
                std::to_string(kMaxValuesPerKey) + " values");
}

TEST(KeyIndex, ARootsOwnKeyLineFirstInAnEightBitFile) {
  // The root's own key first: its path is empty and comes before any text
  // has been kept.
  for (const char* first : {"[HKEY_LOCAL_MACHINE]\n", "[HKEY_CLASSES_ROOT]\n@=\"root\"\n"}) {
    const std::string file = std::string("REGEDIT4\n") + first + "[HKEY_CLASSES_ROOT\\K]\n@=\"k\"\n";
    MemoryStore indexed;
    ParseRegFile(file, u"first.reg", indexed);
    MemoryStore applied;
    ParseRegFile(file + "[-HKEY_CLASSES_ROOT\\Missing]\n", u"first.reg", applied);
    EXPECT_EQ(Dump(indexed), Dump(applied)) << first;
    EXPECT_EQ(StringValue(indexed, RootKey::ClassesRoot, u"K", u""), u"k");
  }
}
