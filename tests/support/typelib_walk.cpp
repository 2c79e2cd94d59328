#include "support/typelib_walk.h"

namespace brannock::typelib {
namespace {

class Walker {
 public:
  explicit Walker(WalkCounts* counts) : c_(*counts) {}

  void Check(HRESULT hr) {
    if (Failed(hr)) ++c_.failures;
  }

  void Type(TypeInfo& info, int depth);

 private:
  void Desc(const TypeDesc& desc, TypeInfo& owner, int depth);
  void Elem(const ElemDesc& elem, TypeInfo& owner) {
    Desc(elem.tdesc, owner, 0);
    if (elem.paramdesc.pparamdescex) {
      Text text;
      VariantToText(elem.paramdesc.pparamdescex->varDefaultValue, &text);
    }
  }
  void Member(TypeInfo& info, MEMBERID memid) {
    TextList names;
    Documentation doc;
    Check(info.GetNames(memid, &names, 0xFFFF));
    c_.names += names.size();
    Check(info.GetDocumentation(memid, &doc));
  }

  WalkCounts& c_;
};

void Walker::Desc(const TypeDesc& desc, TypeInfo& owner, int depth) {
  if (depth > 64) return;
  if (desc.lptdesc) Desc(*desc.lptdesc, owner, depth + 1);
  if (desc.lpadesc) Desc(desc.lpadesc->tdescElem, owner, depth + 1);
  if (desc.vt == VT_USERDEFINED) {
    std::shared_ptr<TypeInfo> ref;
    Documentation doc;
    if (Succeeded(owner.GetRefTypeInfo(desc.hreftype, &ref)) && Succeeded(ref->GetDocumentation(-1, &doc)))
      ++c_.references;
  }
}

void Walker::Type(TypeInfo& info, int depth) {
  TypeAttr attr;
  Documentation doc;
  Check(info.GetDocumentation(MEMBERID_NIL, &doc));
  if (Failed(info.GetTypeAttr(&attr))) {
    ++c_.failures;
    return;
  }
  if (attr.typekind == TKIND_ALIAS) Desc(attr.tdescAlias, info, 0);
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    FuncDesc f;
    if (Failed(info.GetFuncDesc(i, &f))) {
      ++c_.failures;
      continue;
    }
    ++c_.funcs;
    Elem(f.elemdescFunc, info);
    for (const auto& p : f.lprgelemdescParam) Elem(p, info);
    Member(info, f.memid);
  }
  for (unsigned i = 0; i < attr.cVars; ++i) {
    VarDesc v;
    if (Failed(info.GetVarDesc(i, &v))) {
      ++c_.failures;
      continue;
    }
    ++c_.vars;
    Elem(v.elemdescVar, info);
    if (v.lpvarValue) {
      Text text;
      VariantToText(*v.lpvarValue, &text);
    }
    Member(info, v.memid);
  }
  const bool dual = (attr.wTypeFlags & TypeFlag::Dual) != 0 && attr.typekind == TKIND_DISPATCH;
  for (int i = dual ? -1 : 0; i < static_cast<int>(attr.cImplTypes); ++i) {
    HREFTYPE href;
    std::shared_ptr<TypeInfo> ref;
    if (Failed(info.GetRefTypeOfImplType(static_cast<unsigned>(i), &href)) ||
        Failed(info.GetRefTypeInfo(href, &ref))) {
      ++c_.failures;
      continue;
    }
    ++c_.references;
    // The interface view of a dual interface is walked like a type of its own.
    if (i == -1 && depth == 0) Type(*ref, depth + 1);
  }
}

}  // namespace

WalkCounts WalkTypeLib(TypeLib& lib) {
  WalkCounts counts;
  Walker walker(&counts);
  Documentation doc;
  walker.Check(lib.GetDocumentation(-1, &doc));
  const unsigned count = lib.GetTypeInfoCount();
  for (unsigned i = 0; i < count; ++i) {
    TypeKind kind;
    std::shared_ptr<TypeInfo> info;
    walker.Check(lib.GetDocumentation(static_cast<int32_t>(i), &doc));
    walker.Check(lib.GetTypeInfoType(i, &kind));
    if (Failed(lib.GetTypeInfo(i, &info))) {
      ++counts.failures;
      continue;
    }
    ++counts.types;
    walker.Type(*info, 0);
  }
  return counts;
}

}  // namespace brannock::typelib
