#include <gtest/gtest.h>

#include "catalogue/registry_tree_builder.h"
#include "registry/memory_store.h"
#include "support/root_keys.h"

namespace brannock {
namespace {

using registry::MemoryStore;
using registry::RootKey;


// A registry of `count` classes, three lines each (key line, a named value,
// the InprocServer32 key), the first one naming "CLSID" as its ProgID.
void AddClasses(MemoryStore& store, int count) {
  for (int i = 0; i < count; ++i) {
    const Text key = u"CLSID\\{C" + IntToText(10000 + i) + u"}";
    store.SetString(HKCR, key, u"", u"Class " + IntToText(i));
    store.SetString(HKCR, key, u"AppID", u"{A}");
    store.SetString(HKCR, key + u"\\InprocServer32", u"", u"x.dll");
  }
  store.SetString(HKCR, u"CLSID\\{C10000}\\ProgID", u"", u"CLSID");
}

TEST(RegistryTreeBuilder, AKeyPathStopsAtItsLimitWithACount) {
  MemoryStore store;
  AddClasses(store, 5000);
  RegistryTreeBuilder b(store, true);
  b.FillRegistryTree(u"CLSID\\{C10000}");
  const size_t own = b.Lines().size();
  EXPECT_EQ(own, 5u);  // path line, key, value, InprocServer32, ProgID
  b.FillRegistryTree(u"CLSID");  // the ProgID value "CLSID"
  const auto& lines = b.Lines();
  ASSERT_EQ(lines.size() - own, kMaxLinesPerKeyPath + 1);
  EXPECT_EQ(lines[own].text, u"CLSID = ");
  EXPECT_EQ(lines[own].level, 0);
  // 2,000 lines: "CLSID = ", the first class's four lines, then three for
  // each of 665 classes; the other 4,334 classes are counted, not read.
  EXPECT_EQ(lines[lines.size() - 2].text, u"InprocServer32 = x.dll");
  EXPECT_EQ(lines.back().text, u"... 4334 more keys and values not shown");
  EXPECT_EQ(lines.back().level, 0);
  EXPECT_EQ(lines.back().parent, -1);

  // Each path has its own allowance; a later path starts afresh.
  b.FillRegistryTree(u"CLSID\\{C10001}");
  EXPECT_EQ(b.Lines().size(), own + kMaxLinesPerKeyPath + 1 + 4);
  EXPECT_EQ(b.Lines().back().text, u"InprocServer32 = x.dll");
}

TEST(RegistryTreeBuilder, TheRootIsNeverFollowed) {
  MemoryStore store;
  AddClasses(store, 3);
  RegistryTreeBuilder b(store, true);
  for (TextView path : {u"", u"\\", u"\\\\"}) b.FillRegistryTree(path);
  EXPECT_TRUE(b.Lines().empty());
}

}  // namespace
}  // namespace brannock
