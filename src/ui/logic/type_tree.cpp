#include "ui/logic/type_tree.h"

#include <array>

#include "platform/messages.h"
#include "typelib/display_name.h"

namespace brannock::ui {

using namespace typelib;

namespace {

struct KindTexts {
  const char16_t* category;
  const char16_t* prefix;
};

constexpr std::array<KindTexts, kTypeKindCount> kKindTexts = {{
    {u"Enums", u"typedef enum"},
    {u"Structs", u"typedef struct"},
    {u"Modules", u"module"},
    {u"Interfaces", u"interface"},
    {u"Dispinterfaces", u"dispinterface"},
    {u"CoClasses", u"coclass"},
    {u"Typedefs", u"typedef"},
    {u"Unions", u"typedef union"},
}};

bool HasCategory(int32_t kind) { return kind >= 0 && kind < kTypeKindCount; }

// A failed read ends the filling; the nodes added so far stay.
struct FillStopped {};

void Check(HRESULT hr) {
  if (Failed(hr)) throw FillStopped{};
}

class TreeFiller {
 public:
  explicit TreeFiller(TTypeTree& tree) : tree_(tree) {}

  void AddNode(int32_t kind, Text text, Text name) {
    TTypeTreeItem item{{std::move(text), kind, std::move(name)}, {}};
    if (HasCategory(kind))
      tree_.Root.Children[static_cast<size_t>(kind)].Children.push_back(std::move(item));
    else
      tree_.Root.Children.push_back(std::move(item));
  }

  // The kind of the type that a dual interface implements at index 0.
  static int32_t DualPartnerKind(TypeInfo& info) {
    HREFTYPE href = 0;
    Check(info.GetRefTypeOfImplType(0, &href));
    std::shared_ptr<TypeInfo> partner;
    Check(info.GetRefTypeInfo(href, &partner));
    if (!partner) throw FillStopped{};
    TypeAttr attr;
    Check(partner->GetTypeAttr(&attr));
    return attr.typekind;
  }

  void AddType(TypeLib& lib, unsigned index) {
    Documentation doc;
    const HRESULT docResult = lib.GetDocumentation(static_cast<int32_t>(index), &doc);
    const Text name = Failed(docResult) ? platform::SystemMessageText(static_cast<uint32_t>(docResult))
                                        : CleanText(doc.name);
    TypeKind typeKind = TKIND_ENUM;
    const int32_t kind = Failed(lib.GetTypeInfoType(index, &typeKind)) ? kUnplacedNodeKind : typeKind;
    AddNode(kind, HasCategory(kind) ? DisplayName(name, static_cast<TypeKind>(kind)) : name, name);

    if ((kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) || Failed(docResult)) return;
    std::shared_ptr<TypeInfo> info;
    if (Failed(lib.GetTypeInfo(index, &info)) || !info) return;
    TypeAttr attr;
    Check(info->GetTypeAttr(&attr));
    if ((attr.wTypeFlags & TypeFlag::Dual) == 0) return;
    const int32_t partnerKind = DualPartnerKind(*info);
    if (HasCategory(partnerKind))
      AddNode(partnerKind, DeclarationName(name, static_cast<TypeKind>(partnerKind)), name);
  }

 private:
  TTypeTree& tree_;
};

}  // namespace

TextView CategoryText(int32_t kind) { return HasCategory(kind) ? kKindTexts[kind].category : TextView(); }

TextView TypeKindPrefix(int32_t kind) { return HasCategory(kind) ? kKindTexts[kind].prefix : TextView(); }

Text TypeNodeText(const TTypeNode& node, size_t childCount) {
  if (node.Kind >= kTypeKindCount) {
    if (childCount == 0) return node.Text;
    return node.Text + u" (" + IntToText(static_cast<int64_t>(childCount)) + u")";
  }
  if (!HasCategory(node.Kind)) return node.Text;
  return Text(TypeKindPrefix(node.Kind)) + u" " + node.Text;
}

TTypeTree BuildTypeTree(TypeLib& lib) {
  TTypeTree tree;
  const unsigned count = lib.GetTypeInfoCount();
  Documentation libDoc;
  lib.GetDocumentation(-1, &libDoc);
  tree.Root.Node = {libDoc.name + u" (" + libDoc.docString + u")", kLibraryNodeKind};
  for (int32_t kind = 0; kind < kTypeKindCount; ++kind)
    tree.Root.Children.push_back({{Text(CategoryText(kind)), kCategoryNodeKind}, {}});

  TreeFiller filler(tree);
  try {
    for (unsigned i = 0; i < count; ++i) filler.AddType(lib, i);
  } catch (const FillStopped&) {
    return tree;
  }
  tree.Complete = true;
  return tree;
}

}  // namespace brannock::ui
