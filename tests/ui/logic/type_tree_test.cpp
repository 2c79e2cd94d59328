#include "ui/logic/type_tree.h"

#include <gtest/gtest.h>

#include "typelib/memory_typelib.h"

namespace brannock::ui {
namespace {

using namespace typelib;
using typelib::testing::MemoryTypeLib;

// The shown texts of a tree, one line per node, indented by depth.
void ShownTexts(const TTypeTreeItem& item, int depth, TextList* out) {
  out->push_back(Text(static_cast<size_t>(depth) * 2, u' ') + TypeNodeText(item.Node, item.Children.size()));
  for (const auto& child : item.Children) ShownTexts(child, depth + 1, out);
}

TextList ShownTexts(const TTypeTree& tree) {
  TextList out;
  ShownTexts(tree.Root, 0, &out);
  return out;
}

TEST(TypeTree, EmptyLibraryHasEightCategoriesWithoutCounts) {
  MemoryTypeLib lib(u"Empty", u"Nothing inside");
  const TTypeTree tree = BuildTypeTree(lib);
  EXPECT_TRUE(tree.Complete);
  EXPECT_EQ(tree.Root.Node.Kind, kLibraryNodeKind);
  EXPECT_EQ(ShownTexts(tree), (TextList{u"Empty (Nothing inside) (8)", u"  Enums", u"  Structs", u"  Modules",
                                         u"  Interfaces", u"  Dispinterfaces", u"  CoClasses", u"  Typedefs",
                                         u"  Unions"}));
  for (const auto& category : tree.Root.Children) EXPECT_EQ(category.Node.Kind, kCategoryNodeKind);
}

TEST(TypeTree, TypesUnderTheirCategoriesInLibraryOrder) {
  MemoryTypeLib lib(u"Demo", u"");
  lib.AddType(TKIND_UNION, u"Value");
  lib.AddType(TKIND_ENUM, u"Colors");
  lib.AddType(TKIND_COCLASS, u"Shape");
  lib.AddType(TKIND_ENUM, u"Alpha");
  lib.AddType(TKIND_INTERFACE, u"IPlain", u"", TypeFlag::OleAutomation);
  lib.AddType(TKIND_RECORD, u"Point");
  lib.AddType(TKIND_MODULE, u"Funcs");
  lib.AddType(TKIND_ALIAS, u"Handle");
  lib.AddType(TKIND_DISPATCH, u"DEvents");
  const TTypeTree tree = BuildTypeTree(lib);
  EXPECT_TRUE(tree.Complete);
  EXPECT_EQ(ShownTexts(tree),
            (TextList{u"Demo () (8)", u"  Enums (2)", u"    typedef enum Colors", u"    typedef enum Alpha",
                      u"  Structs (1)", u"    typedef struct Point", u"  Modules (1)", u"    module Funcs",
                      u"  Interfaces (1)", u"    interface IPlain", u"  Dispinterfaces (1)",
                      u"    dispinterface DEventsDisp", u"  CoClasses (1)", u"    coclass TShape", u"  Typedefs (1)",
                      u"    typedef Handle", u"  Unions (1)", u"    typedef union Value"}));
  // The node's own text is the display name; the kind is the type's.
  const TTypeNode& coclass = tree.Root.Children[TKIND_COCLASS].Children[0].Node;
  EXPECT_EQ(coclass.Text, u"TShape");
  EXPECT_EQ(coclass.Kind, TKIND_COCLASS);
}

TEST(TypeTree, DualTypesShowUnderBothCategories) {
  MemoryTypeLib lib(u"Duals");
  // Listed as a dispatch type, implementing its interface view.
  auto shape = lib.AddType(TKIND_DISPATCH, u"IShape", u"", TypeFlag::Dual | TypeFlag::Dispatchable);
  auto shapeInterface = std::make_shared<typelib::testing::MemoryTypeInfo>();
  shapeInterface->attr.typekind = TKIND_INTERFACE;
  shape->AddImplType(shapeInterface);
  // Listed as an interface, implementing its dispatch view.
  auto dual = lib.AddType(TKIND_INTERFACE, u"IDual", u"", TypeFlag::Dual);
  auto dualDispatch = std::make_shared<typelib::testing::MemoryTypeInfo>();
  dualDispatch->attr.typekind = TKIND_DISPATCH;
  dual->AddImplType(dualDispatch);
  // Not dual: one node only.
  auto plain = lib.AddType(TKIND_DISPATCH, u"DPlain");
  plain->AddImplType(shapeInterface);
  const TTypeTree tree = BuildTypeTree(lib);
  EXPECT_TRUE(tree.Complete);
  EXPECT_EQ(ShownTexts(tree),
            (TextList{u"Duals () (8)", u"  Enums", u"  Structs", u"  Modules", u"  Interfaces (2)",
                      u"    interface IShape", u"    interface IDual", u"  Dispinterfaces (3)",
                      u"    dispinterface IShapeDisp", u"    dispinterface IDualDisp", u"    dispinterface DPlainDisp",
                      u"  CoClasses", u"  Typedefs", u"  Unions"}));
}

TEST(TypeTree, NamesAreCutAtNulButTheRootKeepsItsTexts) {
  MemoryTypeLib lib(Text(u"Lib\0x", 5), u"doc");
  lib.AddType(TKIND_COCLASS, Text(u"Foo\0junk", 8));
  const TTypeTree tree = BuildTypeTree(lib);
  EXPECT_EQ(tree.Root.Node.Text, Text(u"Lib\0x (doc)", 11));
  EXPECT_EQ(tree.Root.Children[TKIND_COCLASS].Children[0].Node.Text, u"TFoo");
}

TEST(TypeTree, FailuresWhileReading) {
  // A type whose name cannot be read is still added, named by the failure;
  // one whose kind cannot be read hangs below the root without a prefix.
  MemoryTypeLib lib(u"Odd");
  lib.AddType(TKIND_ENUM, u"Hidden");
  lib.types[0].docResult = Code::TypeElementNotFound;
  lib.AddType(TKIND_RECORD, u"Kindless");
  lib.types[1].kindResult = Code::Fail;
  // A dual type whose type description does not open is listed once.
  lib.AddType(TKIND_DISPATCH, u"IClosed", u"", TypeFlag::Dual);
  lib.types[2].infoResult = Code::Fail;
  TTypeTree tree = BuildTypeTree(lib);
  EXPECT_TRUE(tree.Complete);
  ASSERT_EQ(tree.Root.Children.size(), 9u);
  EXPECT_EQ(tree.Root.Children[TKIND_ENUM].Children.at(0).Node.Text, u"Element not found");
  EXPECT_EQ(tree.Root.Children[8].Node.Text, u"Kindless");
  EXPECT_EQ(TypeNodeText(tree.Root.Children[8].Node, 0), u"Kindless");
  EXPECT_EQ(tree.Root.Children[TKIND_DISPATCH].Children.size(), 1u);
  EXPECT_EQ(tree.Root.Children[TKIND_INTERFACE].Children.size(), 0u);

  // A dual type whose attributes or implemented type cannot be read stops
  // the filling; what was added stays.
  MemoryTypeLib broken(u"Broken");
  broken.AddType(TKIND_ENUM, u"First");
  broken.AddType(TKIND_INTERFACE, u"IDual", u"", TypeFlag::Dual);  // no implemented type
  broken.AddType(TKIND_ENUM, u"Never");
  tree = BuildTypeTree(broken);
  EXPECT_FALSE(tree.Complete);
  EXPECT_EQ(tree.Root.Children[TKIND_ENUM].Children.size(), 1u);
  EXPECT_EQ(tree.Root.Children[TKIND_INTERFACE].Children.size(), 1u);

  MemoryTypeLib noAttr(u"NoAttr");
  auto iface = noAttr.AddType(TKIND_INTERFACE, u"IFoo", u"", TypeFlag::Dual);
  iface->attrResult = Code::Fail;
  noAttr.AddType(TKIND_ENUM, u"Never");
  tree = BuildTypeTree(noAttr);
  EXPECT_FALSE(tree.Complete);
  EXPECT_EQ(tree.Root.Children[TKIND_ENUM].Children.size(), 0u);
}

TEST(TypeTree, NodeTextsAndTables) {
  EXPECT_EQ(TypeNodeText({u"IFoo", TKIND_INTERFACE}, 0), u"interface IFoo");
  EXPECT_EQ(TypeNodeText({u"Point", TKIND_RECORD}, 0), u"typedef struct Point");
  EXPECT_EQ(TypeNodeText({u"Enums", kCategoryNodeKind}, 0), u"Enums");
  EXPECT_EQ(TypeNodeText({u"Enums", kCategoryNodeKind}, 12), u"Enums (12)");
  EXPECT_EQ(TypeNodeText({u"L (d)", kLibraryNodeKind}, 8), u"L (d) (8)");
  EXPECT_EQ(CategoryText(TKIND_UNION), u"Unions");
  EXPECT_EQ(TypeKindPrefix(TKIND_UNION), u"typedef union");
  EXPECT_EQ(CategoryText(8), u"");
  EXPECT_EQ(TypeKindPrefix(-1), u"");
}

}  // namespace
}  // namespace brannock::ui
