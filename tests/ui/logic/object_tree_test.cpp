#include "ui/logic/object_tree.h"

#include <gtest/gtest.h>

namespace brannock::ui {
namespace {

std::vector<Text> Sorted(const std::vector<Text>& texts) {
  std::vector<TextView> views(texts.begin(), texts.end());
  std::vector<Text> out;
  for (int32_t i : SortedChildOrder(views)) out.push_back(texts[static_cast<size_t>(i)]);
  return out;
}

TEST(ObjectTree, CompareNodesFoldsOnlyAsciiLetters) {
  EXPECT_EQ(TreeCompareNodes(u"beta", u"Alpha"), 1);
  EXPECT_EQ(TreeCompareNodes(u"Alpha", u"beta"), 0);
  EXPECT_EQ(TreeCompareNodes(u"ABC", u"abc"), 0);
  EXPECT_EQ(TreeCompareNodes(u"abc", u"ABC"), 0);
  // '_' (0x5F) sits between upper and lower case: after folding it sorts
  // before letters.
  EXPECT_EQ(TreeCompareNodes(u"a", u"_"), 1);
  // Non-ASCII letters are not folded: U+00C4 stays above U+00E4's lower case.
  EXPECT_EQ(TreeCompareNodes(u"\u00e4", u"\u00c4"), 1);
  EXPECT_EQ(TreeCompareNodes(u"ab", u"a"), 1);
}

TEST(ObjectTree, ChildOrderIsAscendingAndStable) {
  EXPECT_EQ(Sorted({u"Gamma", u"beta", u"Alpha"}), (std::vector<Text>{u"Alpha", u"beta", u"Gamma"}));
  // Equal after folding: list order is kept, in both directions.
  EXPECT_EQ(Sorted({u"foo", u"Zed", u"FOO", u"Foo"}), (std::vector<Text>{u"foo", u"FOO", u"Foo", u"Zed"}));
  EXPECT_EQ(Sorted({u"FOO", u"foo"}), (std::vector<Text>{u"FOO", u"foo"}));
  EXPECT_TRUE(SortedChildOrder({}).empty());
  std::vector<TextView> one{u"x"};
  EXPECT_EQ(SortedChildOrder(one), std::vector<int32_t>{0});
}

TEST(ObjectTree, IncrementalSearchMatchRule) {
  EXPECT_EQ(TreeIncrementalSearch(u"Microsoft Word", u"micro"), 0);
  EXPECT_EQ(TreeIncrementalSearch(u"Mic", u"Micro"), 0);  // the node's text begins the search text
  EXPECT_EQ(TreeIncrementalSearch(u"", u"anything"), 0);
  EXPECT_EQ(TreeIncrementalSearch(u"anything", u""), 0);
  EXPECT_LT(TreeIncrementalSearch(u"Mab", u"mac"), 0);
  EXPECT_EQ(TreeIncrementalSearch(u"Mad", u"mac"), 1);
  EXPECT_NE(TreeIncrementalSearch(u"\u00e4x", u"\u00c4"), 0);
}

TEST(ObjectTree, FindIncrementalStartsAtFocusedNodeAndWraps) {
  std::vector<TextView> nodes{u"Object Classes", u"Alpha", u"Microsoft", u"micro2", u"Interfaces", u"Mic"};
  EXPECT_EQ(FindIncremental(nodes, 0, u"micro"), 2u);
  EXPECT_EQ(FindIncremental(nodes, 3, u"micro"), 3u);
  EXPECT_EQ(FindIncremental(nodes, 4, u"micro"), 5u);  // "Mic" begins "micro"
  EXPECT_EQ(FindIncremental(nodes, 4, u"alp"), 1u);    // wraps round to the start
  EXPECT_EQ(FindIncremental(nodes, 0, u"zzz"), std::nullopt);
  EXPECT_EQ(FindIncremental({}, 0, u"a"), std::nullopt);
}

TEST(ObjectTree, RootsAndImages) {
  ASSERT_EQ(kRoots.size(), 4u);
  EXPECT_EQ(Text(kRoots[1].caption), u"Application IDs");
  EXPECT_EQ(kRoots[1].typ, TObjectType::otAppID);
  EXPECT_EQ(kRoots[2].typ, TObjectType::otTypeLib);
  EXPECT_EQ(Text(kRoots[0].caption), u"Object Classes");
  EXPECT_EQ(Text(kRoots[2].caption), u"Type Libraries");
  EXPECT_EQ(Text(kRoots[3].caption), u"Interfaces");
  EXPECT_EQ(TreeGetImageIndex(true, TObjectType::otAppID), 2);
  EXPECT_EQ(TreeGetImageIndex(false, TObjectType::otInterface), 7);
  EXPECT_EQ(TreeGetImageIndex(false, TObjectType::otCLSID), 4);
  // Each node's image shows its own kind's emblem, in a folder on the root
  // only; classes and application IDs share the cube.
  const std::pair<TObjectType, ObjectEmblem> emblems[] = {{TObjectType::otCLSID, ObjectEmblem::Object},
                                                          {TObjectType::otAppID, ObjectEmblem::Object},
                                                          {TObjectType::otTypeLib, ObjectEmblem::TypeLibrary},
                                                          {TObjectType::otInterface, ObjectEmblem::Interface}};
  for (const auto& [typ, emblem] : emblems) {
    for (bool root : {true, false}) {
      const int index = TreeGetImageIndex(root, typ);
      ASSERT_GE(index, 0);
      ASSERT_LT(index, kTreeImageCount);
      EXPECT_EQ(TreeImageOf(index).folder, root) << index;
      EXPECT_EQ(TreeImageOf(index).emblem, emblem) << index;
    }
  }
}

TEST(ObjectTree, NodeObjectIsTheListEntryWithTheNodesKind) {
  TObjects list(2);
  list[0].Name = u"first";
  list[1].Name = u"second";
  list[1].Typ = TObjectType::otCLSID;  // as a list builder may leave it
  const std::optional<TObjectData> found = NodeObject(list, TObjectNode{u"second", TObjectType::otAppID, 1, {}});
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Name, u"second");
  EXPECT_EQ(found->Typ, TObjectType::otAppID);
  // An entry that is gone, and a damaged index, name nothing.
  EXPECT_FALSE(NodeObject(list, TObjectNode{u"third", TObjectType::otAppID, 2, {}}));
  EXPECT_FALSE(NodeObject(list, TObjectNode{u"none", TObjectType::otAppID, -1, {}}));
  EXPECT_FALSE(NodeObject({}, TObjectNode{u"first", TObjectType::otAppID, 0, {}}));
}

// The windows' four root fields, as RootField finds them by kind.
struct Roots {
  int OCRoot = 0, AIRoot = 0, TLRoot = 0, IFRoot = 0;
};

TEST(ObjectTree, RootFieldsByKind) {
  Roots w;
  for (const RootInfo& info : kRoots) RootField(w, info.typ) = static_cast<int>(info.typ) + 10;
  EXPECT_EQ(w.OCRoot, 10);
  EXPECT_EQ(w.TLRoot, 11);
  EXPECT_EQ(w.AIRoot, 12);
  EXPECT_EQ(w.IFRoot, 13);
  const Roots& shown = w;
  EXPECT_EQ(RootField(shown, TObjectType::otAppID), 12);
}

}  // namespace
}  // namespace brannock::ui
