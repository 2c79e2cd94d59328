#include "typelib/idl_dispatch_form.h"

#include <vector>

namespace brannock::typelib {
namespace {

constexpr MEMBERID kQueryInterfaceId = 0x60000000;

// A function by member id and name.
struct Signature {
  MEMBERID memid = 0;
  Text name;
  bool operator==(const Signature&) const = default;
};

bool Signatures(TypeInfo& info, const TypeAttr& attr, std::vector<Signature>* out) {
  out->clear();
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    FuncDesc func;
    TextList names;
    if (Failed(info.GetFuncDesc(i, &func)) || Failed(info.GetNames(func.memid, &names, 1)) || names.empty())
      return false;
    out->push_back({func.memid, CleanText(names[0])});
  }
  return true;
}

// The interface a type of the library stands for: an interface, or the
// interface view of a dual.
std::shared_ptr<TypeInfo> InterfaceOf(TypeLib& lib, unsigned index, TypeAttr* attr) {
  std::shared_ptr<TypeInfo> info;
  if (Failed(lib.GetTypeInfo(index, &info)) || !info || Failed(info->GetTypeAttr(attr))) return nullptr;
  if (attr->typekind == TKIND_INTERFACE) return info;
  if (attr->typekind != TKIND_DISPATCH || !(attr->wTypeFlags & TypeFlag::Dual)) return nullptr;
  HREFTYPE href = 0;
  std::shared_ptr<TypeInfo> view;
  if (Failed(info->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href)) ||
      Failed(info->GetRefTypeInfo(href, &view)) || !view || Failed(view->GetTypeAttr(attr)))
    return nullptr;
  return view;
}

}  // namespace

std::shared_ptr<TypeInfo> FindDeclaringInterface(TypeLib& lib, TypeInfo& info, const TypeAttr& attr) {
  if (attr.typekind != TKIND_DISPATCH || (attr.wTypeFlags & TypeFlag::Dual) || attr.cVars > 0 || attr.cFuncs == 0)
    return nullptr;
  FuncDesc first;
  if (Failed(info.GetFuncDesc(0, &first)) || first.memid != kQueryInterfaceId) return nullptr;
  std::vector<Signature> listed, own;
  if (!Signatures(info, attr, &listed)) return nullptr;
  for (unsigned i = 0; i < lib.GetTypeInfoCount(); ++i) {
    TypeAttr candidateAttr;
    std::shared_ptr<TypeInfo> candidate = InterfaceOf(lib, i, &candidateAttr);
    if (!candidate || candidateAttr.guid == attr.guid || candidateAttr.cFuncs == 0 ||
        candidateAttr.cFuncs > listed.size() || !Signatures(*candidate, candidateAttr, &own))
      continue;
    if (std::equal(own.begin(), own.end(), listed.end() - static_cast<ptrdiff_t>(own.size()))) return candidate;
  }
  return nullptr;
}

}  // namespace brannock::typelib
