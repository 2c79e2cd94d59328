// Keys of a read-only store read from the file's index without nodes: every
// key must read as the store's nodes give it, opened in any order and in
// any letter case.
#include "registry/index_ranges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "registry/key_index.h"
#include "registry/reg_file_parser.h"
#include "common/error.h"
#include "registry/registry_source.h"
#include "registry_files_support.h"
#ifndef _WIN32
#include "wine_prefix_support.h"  // the prefix is made on Linux hosts
#endif

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {

constexpr uint32_t kKeyRead = 0x20019;
constexpr RootKey kEveryRoot[] = {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users};

Text PathBelow(const Text& path, const Text& name) { return path.empty() ? name : path + u"\\" + name; }

// Opens every key of `built` (a store whose nodes give the keys) in
// `indexed`, children in reverse order every other level so that lookups
// meet both orders, and compares what each key reads; `checked` counts them.
void ExpectSameKeys(MemoryStore& indexed, const MemoryStore::Node& built, RootKey root, const Text& path, int level,
                    size_t* checked) {
  auto key = indexed.Open(root, level % 3 == 2 ? LowerAscii(path) : path, kKeyRead);
  ASSERT_NE(key, nullptr) << Utf16ToUtf8(path);
  ++*checked;
  TextList subkeys;
  for (const auto& [name, child] : built.Children()) subkeys.push_back(child->name);
  EXPECT_EQ(key->SubkeyNames(), subkeys) << Utf16ToUtf8(path);
  TextList values;
  for (const MemoryStore::Value& v : built.Values()) values.push_back(v.name);
  EXPECT_EQ(key->ValueNames(), values) << Utf16ToUtf8(path);
  for (const MemoryStore::Value& v : built.Values()) {
    uint32_t type = 0;
    Bytes data;
    ASSERT_TRUE(key->QueryValue(UpperAscii(v.name), &type, nullptr, &data)) << Utf16ToUtf8(path + u":" + v.name);
    EXPECT_EQ(type, v.type);
    EXPECT_EQ(data, v.data) << Utf16ToUtf8(path + u":" + v.name);
  }
  EXPECT_FALSE(key->QueryValue(u"no such value", nullptr, nullptr, nullptr));
  EXPECT_EQ(indexed.Open(root, PathBelow(path, u"no such key"), kKeyRead), nullptr);
  EXPECT_THROW(key->SetValue(u"v", RegType::Sz, MemoryStore::TextData(u"x")), Error) << "the store is read-only";
  std::vector<const MemoryStore::Node*> children;
  for (const auto& [name, child] : built.Children()) children.push_back(child.get());
  if (level % 2 == 1) std::reverse(children.begin(), children.end());
  for (const MemoryStore::Node* child : children)
    ExpectSameKeys(indexed, *child, root, PathBelow(path, child->name), level + 1, checked);
}

// A read-only store of `file` read through the index, against the same
// file applied line by line.
size_t ExpectSameKeysOfFile(const std::string& file) {
  MemoryStore indexed;
  ParseRegFile(file, u"file.reg", indexed);
  indexed.SetReadOnly(true);
  MemoryStore applied;
  ParseRegFile(file + "[-HKEY_CLASSES_ROOT\\Missing]\n", u"file.reg", applied);
  size_t checked = 0;
  for (RootKey root : kEveryRoot) ExpectSameKeys(indexed, applied.Root(root), root, Text(), 0, &checked);
  return checked;
}

// An index of listed keys of HKEY_CLASSES_ROOT, each with its values.
class ListedIndex : public KeyIndex {
 public:
  void Add(TextView path, std::vector<MemoryStore::Value> values = {}) {
    const auto line = static_cast<uint32_t>(values_.size() + 1);
    Entries(RootKey::ClassesRoot).push_back({Keep(path), values_.size(), line, static_cast<uint32_t>(values.size())});
    values_.push_back(std::move(values));
  }
  void ReadValues(const Entry& entry, std::vector<MemoryStore::Value>& out) const override {
    out.insert(out.end(), values_[entry.values].begin(), values_[entry.values].end());
  }

 private:
  std::vector<std::vector<MemoryStore::Value>> values_;
};

MemoryStore::Value Sz(const char16_t* name, const char16_t* text) {
  return {name, RegType::Sz, MemoryStore::TextData(text)};
}

}  // namespace

TEST(IndexRanges, AKeyHeldByTwoIndexesReadsAsItsNode) {
  // The classes root of two files: a key both have is spelled as the first
  // gives it, the second's value of a name replaces the first's in place,
  // and the subkeys of both are merged in order.
  auto first = std::make_shared<ListedIndex>();
  first->Add(u"");
  first->Add(u"K", {Sz(u"v", u"first"), Sz(u"w", u"only first")});
  first->Add(u"K\\x");
  first->Add(u"K\\z\\deep", {Sz(u"", u"deep")});
  first->Add(u"M");
  auto second = std::make_shared<ListedIndex>();
  second->Add(u"k", {Sz(u"V", u"second"), Sz(u"u", u"only second")});
  second->Add(u"k\\Y");
  second->Add(u"k\\Z", {Sz(u"z", u"second z")});
  second->Add(u"L");
  ASSERT_TRUE(first->Order() && second->Order());
  auto twoFiles = [&] {
    auto store = std::make_unique<MemoryStore>();
    for (const auto& index : {first, second}) {
      store->Root(RootKey::ClassesRoot)
          .AddRange({index.get(), RootKey::ClassesRoot, 0,
                     static_cast<uint32_t>(index->Entries(RootKey::ClassesRoot).size()), 0});
      store->KeepIndex(index);
    }
    return store;
  };
  auto indexed = twoFiles();
  indexed->SetReadOnly(true);
  auto built = twoFiles();
  size_t checked = 0;
  ExpectSameKeys(*indexed, built->Root(RootKey::ClassesRoot), RootKey::ClassesRoot, Text(), 0, &checked);
  EXPECT_EQ(checked, 8u);
  EXPECT_EQ(SubkeyNames(*built, RootKey::ClassesRoot, u"K"), (TextList{u"x", u"Y", u"z"}));
  EXPECT_EQ(StringValue(*built, RootKey::ClassesRoot, u"K", u"v"), u"second");
}

TEST(IndexRanges, KeysReadFromTheIndexAsTheirNodesGiveThem) {
  // Spellings that differ in case, keys named twice and out of order,
  // siblings whose names start alike ("Ab" and "Ab c", "K" and "K_x"),
  // values set again, and the machine's and the user's classes over each
  // other.
  const std::string file =
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CLASSES_ROOT\\K\\Ab c\\deep]\n@=\"d\"\n"
      "[HKEY_CLASSES_ROOT\\K\\ab]\n\"v\"=dword:00000001\n"
      "[HKEY_CLASSES_ROOT\\K_x]\n@=\"next to K\"\n"
      "[HKEY_CLASSES_ROOT\\K]\n\"zeta\"=\"1\"\n@=\"first\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\K]\n@=\"user\"\n\"UserOnly\"=hex:01,02\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\K\\Ab]\n\"UserToo\"=\"u\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\K\\Only user]\n"
      "[HKEY_CLASSES_ROOT\\K\\AB\\Deeper]\n\"Bin\"=hex(2):41,00,00,00\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\K\\Z]\n@=\"machine\"\n"
      "[HKEY_CLASSES_ROOT\\k]\n\"ZETA\"=\"2\"\n\"Alpha\"=\"3\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}]\n@=\"m\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{1}]\n@=\"u\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{2}\\InprocServer32]\n@=\"u.dll\"\n"
      "[HKEY_USERS\\S-1\\Software]\n\"x\"=\"y\"\n"
      "[HKEY_CLASSES_ROOT]\n@=\"root\"\n";
  EXPECT_GT(ExpectSameKeysOfFile(file), 20u);

  // Many siblings with many subkeys each, as below CLSID, some in a second
  // spelling further on.
  std::string many = "Windows Registry Editor Version 5.00\n";
  for (int i = 0; i < 400; ++i) {
    const std::string clsid = "[HKEY_CLASSES_ROOT\\CLSID\\{" + std::to_string(100000 + i * 7 % 400) + "}";
    many += clsid + "]\n@=\"class " + std::to_string(i) + "\"\n";
    for (int k = 0; k < i % 9; ++k) many += clsid + "\\Sub" + std::to_string(k) + "]\n@=\"s\"\n";
  }
  for (int i = 0; i < 400; i += 37) many += "[HKEY_CLASSES_ROOT\\clsid\\{" + std::to_string(100000 + i) + "}\\Late]\n";
  EXPECT_GT(ExpectSameKeysOfFile(many), 2000u);
}

TEST(IndexRanges, RealExportsAndAWinePrefixReadAsTheirNodesGiveThem) {
  const std::filesystem::path reg = std::filesystem::path(BRANNOCK_TEST_DATA) / "../../../shared/fixtures/real/registry/reg";
  size_t files = 0;
  if (std::filesystem::is_directory(reg)) {
    for (const auto& entry : std::filesystem::directory_iterator(reg)) {
      if (entry.path().extension() != ".reg") continue;
      auto indexed = LoadSourceStore(RegistrySource::Kind::RegFile, entry.path(), StoreLayout::Composed);
      auto built = LoadSourceStore(RegistrySource::Kind::RegFile, entry.path(), StoreLayout::Composed);
      size_t checked = 0;
      for (RootKey root : kEveryRoot) ExpectSameKeys(*indexed, built->Root(root), root, Text(), 0, &checked);
      EXPECT_GT(checked, 1u) << entry.path();
      ++files;
    }
  }
#ifndef _WIN32
  // Wine's own registry: the classes of the machine and of the user, each
  // file indexed apart.
  if (auto prefix = SharedWinePrefix()) {
    auto indexed = LoadSourceStore(RegistrySource::Kind::WinePrefix, *prefix, StoreLayout::Composed);
    auto built = LoadSourceStore(RegistrySource::Kind::WinePrefix, *prefix, StoreLayout::Composed);
    size_t checked = 0;
    ExpectSameKeys(*indexed, built->Root(RootKey::ClassesRoot), RootKey::ClassesRoot, Text(), 0, &checked);
    EXPECT_GT(checked, 1000u);
    ++files;
  }
#endif
  if (files == 0) GTEST_SKIP() << "no real exports and no Wine here";
}
