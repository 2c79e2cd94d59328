// The viewer's tree of a type library's types: the node record, the two
// tables indexed by type kind, the node texts and the filling of the tree
// from an open library. Kept free of any widget so that the window only
// copies the finished tree into its control.
#pragma once

#include <cstdint>
#include <vector>

#include "common/text.h"
#include "typelib/access.h"

namespace brannock::ui {

// Kind of the library node (the root) and of a category node; type nodes
// carry the type's TYPEKIND. Kind is also the node's image index.
inline constexpr int32_t kLibraryNodeKind = 11;
inline constexpr int32_t kCategoryNodeKind = 12;
// A type whose kind could not be read, or lies outside 0 to 7, has no
// category; it hangs below the root with this kind and no image.
inline constexpr int32_t kUnplacedNodeKind = -1;
inline constexpr int32_t kTypeKindCount = 8;

struct TTypeNode {
  brannock::Text Text;
  int32_t Kind = 0;
  // A type's own name in the library, which its IDL declaration names (the
  // Object Pascal unit's name is Text); empty for the root and categories.
  brannock::Text Name;
};

// One node of the finished tree with its children in display order.
struct TTypeTreeItem {
  TTypeNode Node;
  std::vector<TTypeTreeItem> Children;
};

struct TTypeTree {
  TTypeTreeItem Root;
  // False when reading the library failed part way: the tree holds the nodes
  // added so far, and the window leaves the root collapsed.
  bool Complete = false;
};

// "Enums", "Structs", ... for kinds 0 to 7; empty for any other kind.
TextView CategoryText(int32_t kind);
// "typedef enum", "interface", ... for kinds 0 to 7; empty otherwise.
TextView TypeKindPrefix(int32_t kind);

// The shown text: for the root and the categories the node's text, with
// " (n)" when it has n > 0 children; for a type its kind's prefix, a blank
// and the node's text.
Text TypeNodeText(const TTypeNode& node, size_t childCount);

// Builds the tree of `lib`: the root "name (doc)", the eight categories in
// kind order, one node per type under its kind's category in library order,
// and for a dual interface a second node under the category of the kind it
// implements.
TTypeTree BuildTypeTree(typelib::TypeLib& lib);

}  // namespace brannock::ui
