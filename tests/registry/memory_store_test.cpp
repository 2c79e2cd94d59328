// Finding a key's subkeys: in enumeration order (the list builders' walk,
// which starts from the child found before), out of it, and after the map
// changed under the last child found.
#include "registry/memory_store.h"

#include <gtest/gtest.h>

#include "registry/reg_file_parser.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;

namespace {

TextList Names(const MemoryStore::Node& node) {
  TextList names;
  for (const auto& [key, child] : node.Children()) names.push_back(child->name);
  return names;
}

}  // namespace

TEST(MemoryStore, FindChildInAnyOrderAndAfterTheChildrenChange) {
  MemoryStore store;
  for (const char16_t* name : {u"b", u"A", u"c", u"_x", u"D", u"e1", u"E"}) store.CreatePath(CR, Text(u"K\\") + name);
  MemoryStore::Node& k = *store.Find(CR, u"K");
  const TextList names = Names(k);
  ASSERT_EQ(names, (TextList{u"A", u"b", u"c", u"D", u"E", u"e1", u"_x"}));

  // In order, each name in another case, each found twice, then backwards
  // and skipping.
  for (const Text& n : names) {
    ASSERT_NE(k.FindChild(UpperAscii(n)), nullptr) << Utf16ToUtf8(n);
    EXPECT_EQ(k.FindChild(LowerAscii(n))->name, n);
  }
  for (auto it = names.rbegin(); it != names.rend(); ++it) EXPECT_EQ(k.FindChild(*it)->name, *it);
  EXPECT_EQ(k.FindChild(u"c")->name, u"c");
  EXPECT_EQ(k.FindChild(u"e1")->name, u"e1");
  EXPECT_EQ(k.FindChild(u"cc"), nullptr);
  EXPECT_EQ(k.FindChild(u"E")->name, u"E") << "the one before the last found";

  // The last child found deleted, and the one after it.
  ASSERT_EQ(k.FindChild(u"D")->name, u"D");
  EXPECT_TRUE(k.DeleteChild(u"d"));
  EXPECT_EQ(k.FindChild(u"D"), nullptr);
  EXPECT_EQ(k.FindChild(u"E")->name, u"E");
  EXPECT_TRUE(k.DeleteChild(u"e1"));
  EXPECT_EQ(k.FindChild(u"e1"), nullptr);
  EXPECT_EQ(k.FindChild(u"_X")->name, u"_x");

  // The map changed through Children(), and the contents swapped.
  ASSERT_NE(k.FindChild(u"b"), nullptr);
  k.Children().clear();
  EXPECT_EQ(k.FindChild(u"b"), nullptr);
  k.AddChild(u"b");
  EXPECT_EQ(k.FindChild(u"B")->name, u"b");
  MemoryStore::Node other;
  other.AddChild(u"z");
  k.SwapContents(other);
  EXPECT_EQ(k.FindChild(u"b"), nullptr);
  EXPECT_EQ(k.FindChild(u"Z")->name, u"z");
  EXPECT_EQ(other.FindChild(u"B")->name, u"b");
}

TEST(MemoryStore, FindChildOfKeysBuiltFromAFile) {
  // Subkeys built from an index when first asked for, found in order and
  // out of it, as the list builders and the resolutions ask for them.
  std::string file = "Windows Registry Editor Version 5.00\n";
  for (int i = 0; i < 50; ++i) file += "[HKEY_CLASSES_ROOT\\CLSID\\{" + std::to_string(1000 + i * 7) + "}]\n@=\"n\"\n";
  MemoryStore store;
  ParseRegFile(file, u"x.reg", store);
  MemoryStore::Node& clsid = *store.Find(CR, u"CLSID");
  const TextList names = Names(clsid);
  ASSERT_EQ(names.size(), 50u);
  for (const Text& n : names) EXPECT_NE(store.Find(CR, u"CLSID\\" + n), nullptr) << Utf16ToUtf8(n);
  for (size_t i = 0; i < names.size(); i += 3) EXPECT_EQ(clsid.FindChild(names[names.size() - 1 - i])->name, names[names.size() - 1 - i]);
  EXPECT_EQ(store.Find(CR, u"CLSID\\{1001}"), nullptr);
}

TEST(MemoryStore, AValueReadTwiceThroughAKeyAndChangedInBetween) {
  // A key's value asked for its size, then its data (as readers ask), and
  // set through another key between the two: the second answer is the new
  // value.
  MemoryStore store;
  ParseRegFile("Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\K]\n\"v\"=\"old\"\n\"w\"=dword:00000007\n",
               u"x.reg", store);
  auto reader = store.Open(CR, u"K", 0x20019);
  ASSERT_NE(reader, nullptr);
  uint32_t type = 0;
  uint32_t size = 0;
  Bytes data;
  ASSERT_TRUE(reader->QueryValue(u"v", &type, &size, nullptr));
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(size, 8u);
  ASSERT_TRUE(reader->QueryValue(u"V", nullptr, nullptr, &data));
  EXPECT_EQ(data, MemoryStore::TextData(u"old"));
  ASSERT_TRUE(reader->QueryValue(u"w", &type, nullptr, &data));
  EXPECT_EQ(type, RegType::Dword);
  EXPECT_EQ(data, (Bytes{7, 0, 0, 0}));
  ASSERT_TRUE(reader->QueryValue(u"v", nullptr, &size, nullptr));

  auto writer = store.Create(CR, u"K");
  ASSERT_NE(writer, nullptr);
  writer->SetValue(u"v", RegType::Sz, MemoryStore::TextData(u"newer"));
  ASSERT_TRUE(reader->QueryValue(u"v", &type, &size, &data));
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(data, MemoryStore::TextData(u"newer"));
  EXPECT_FALSE(reader->QueryValue(u"none", nullptr, nullptr, nullptr));
}
