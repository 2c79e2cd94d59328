#include "registry/key_path_cache.h"

#include <gtest/gtest.h>

#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

TEST(KeyPathCache, OpensTheSameKeysAsCreatePath) {
  const std::vector<std::pair<RootKey, Text>> paths{
      {RootKey::ClassesRoot, u"CLSID\\{A}\\InprocServer32"},
      {RootKey::ClassesRoot, u"CLSID\\{A}\\InprocServer"},  // a prefix of the last component
      {RootKey::ClassesRoot, u"CLSID\\{A}"},
      {RootKey::ClassesRoot, u"clsid\\{a}\\ProgID"},  // other letter case: the same keys
      {RootKey::ClassesRoot, u"CLSID\\{A}x\\Version"},
      {RootKey::LocalMachine, u"CLSID\\{A}\\InprocServer32"},  // another root
      {RootKey::ClassesRoot, u"CLSID\\{A}\\InprocServer32\\"},
      {RootKey::ClassesRoot, u""},
      {RootKey::ClassesRoot, u"CLSID"},
      {RootKey::ClassesRoot, u"CLSID\\{B}"},
  };
  MemoryStore cached;
  MemoryStore plain;
  KeyPathCache cache(cached);
  for (const auto& [root, path] : paths) {
    MemoryStore::Node* a = cache.Open(root, path);
    MemoryStore::Node* b = plain.CreatePath(root, path);
    ASSERT_NE(a, nullptr) << Utf16ToUtf8(path);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a, cached.Find(root, path)) << Utf16ToUtf8(path);
    EXPECT_EQ(a->name, b->name) << Utf16ToUtf8(path);
    a->SetValue(u"seen", RegType::Sz, {});
    b->SetValue(u"seen", RegType::Sz, {});
  }
  for (RootKey root : {RootKey::ClassesRoot, RootKey::LocalMachine})
    EXPECT_EQ(DumpTree(cached.Root(root)), DumpTree(plain.Root(root)));
  EXPECT_EQ(SubkeyNames(cached, RootKey::ClassesRoot, u"CLSID\\{A}"),
            (TextList{u"InprocServer", u"InprocServer32", u"ProgID"}));

  // An empty component gives null; the next path is found afresh.
  EXPECT_EQ(cache.Open(RootKey::ClassesRoot, u"CLSID\\\\X"), nullptr);
  EXPECT_EQ(cache.Open(RootKey::ClassesRoot, u"CLSID\\{B}"), cached.Find(RootKey::ClassesRoot, u"CLSID\\{B}"));
  // After a deletion the cache is told to forget, and creates anew.
  cached.DeletePath(RootKey::ClassesRoot, u"CLSID\\{B}");
  cache.Invalidate();
  MemoryStore::Node* again = cache.Open(RootKey::ClassesRoot, u"CLSID\\{B}\\Sub");
  EXPECT_EQ(again, cached.Find(RootKey::ClassesRoot, u"CLSID\\{B}\\Sub"));
}
