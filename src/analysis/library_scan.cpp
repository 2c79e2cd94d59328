#include "analysis/library_scan.h"

#include "analysis/object_typelib.h"
#include "common/guid.h"

namespace brannock::analysis {

using namespace typelib;

namespace {

// The identity of the type `href` names in `info`; nothing when it does not
// resolve (a library it comes from that does not load).
std::optional<ImplementedType> Referenced(TypeInfo& info, HREFTYPE href) {
  std::shared_ptr<TypeInfo> target;
  TypeAttr attr;
  if (Failed(info.GetRefTypeInfo(href, &target)) || !target || Failed(target->GetTypeAttr(&attr)))
    return std::nullopt;
  ImplementedType type;
  type.guid = GuidToText(attr.guid);
  Documentation doc;
  if (Succeeded(target->GetDocumentation(MEMBERID_NIL, &doc))) type.name = CleanText(doc.name);
  return type;
}

// Implemented type `index` of `info`, with its flags.
std::optional<ImplementedType> ImplType(TypeInfo& info, unsigned index, bool withFlags) {
  HREFTYPE href = 0;
  if (Failed(info.GetRefTypeOfImplType(index, &href))) return std::nullopt;
  std::optional<ImplementedType> type = Referenced(info, href);
  if (type && withFlags && Failed(info.GetImplTypeFlags(index, &type->flags))) type->flags = 0;
  return type;
}

// The base of an interface; of a dual's dispatch view, the base of its
// interface view (the dispatch view derives from IDispatch).
std::optional<ImplementedType> BaseOf(TypeInfo& info, const TypeAttr& attr) {
  if (attr.typekind == TKIND_DISPATCH && (attr.wTypeFlags & TypeFlag::Dual)) {
    HREFTYPE href = 0;
    std::shared_ptr<TypeInfo> view;
    TypeAttr viewAttr;
    if (Succeeded(info.GetRefTypeOfImplType(static_cast<unsigned>(-1), &href)) &&
        Succeeded(info.GetRefTypeInfo(href, &view)) && view && Succeeded(view->GetTypeAttr(&viewAttr)))
      return viewAttr.cImplTypes > 0 ? ImplType(*view, 0, false) : std::nullopt;
  }
  return attr.cImplTypes > 0 ? ImplType(info, 0, false) : std::nullopt;
}

}  // namespace

std::vector<DeclaredType> DeclaredTypes(TypeLib& lib) {
  std::vector<DeclaredType> types;
  const unsigned count = lib.GetTypeInfoCount();
  for (unsigned i = 0; i < count; ++i) {
    TypeKind kind;
    if (Failed(lib.GetTypeInfoType(i, &kind))) continue;
    if (kind != TKIND_COCLASS && kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) continue;
    std::shared_ptr<TypeInfo> info;
    TypeAttr attr;
    if (Failed(lib.GetTypeInfo(i, &info)) || !info || Failed(info->GetTypeAttr(&attr))) continue;
    DeclaredType type;
    type.kind = kind;
    type.guid = GuidToText(attr.guid);
    Documentation doc;
    if (Succeeded(lib.GetDocumentation(static_cast<int32_t>(i), &doc))) type.name = CleanText(doc.name);
    if (kind == TKIND_COCLASS) {
      for (unsigned k = 0; k < attr.cImplTypes; ++k)
        if (auto impl = ImplType(*info, k, true)) type.implemented.push_back(std::move(*impl));
    } else if (auto base = BaseOf(*info, attr)) {
      type.implemented.push_back(std::move(*base));
    }
    types.push_back(std::move(type));
  }
  return types;
}

LibraryScan::LibraryScan(const RegistrationIndex& index) : index_(index) {
  for (uint32_t t = 0; t < index.typeLibs.size(); ++t) {
    Guid guid;
    if (!TryTextToGuid(index.typeLibs[t].guid, &guid)) continue;
    const auto& versions = index.typeLibs[t].keys.versions;
    for (uint32_t v = 0; v < versions.size(); ++v)
      if (versions[v].parsed) pending_.push_back({t, v, guid});
  }
}

void LibraryScan::ReadNext(TypeLibLoader& loader) {
  if (Finished()) return;
  const Pending& next = pending_[libraries_.size()];
  const TypeLibVersionKeys& version = index_.typeLibs[next.typeLib].keys.versions[next.version];
  ScannedLibrary scanned;
  scanned.typeLib = next.typeLib;
  scanned.version = next.version;
  std::shared_ptr<TypeLib> lib;
  scanned.result = loader.LoadRegTypeLib(next.guid, static_cast<uint16_t>(version.major),
                                         static_cast<uint16_t>(version.minor), kSystemDefaultLocale, &lib);
  if (Succeeded(scanned.result) && !lib) scanned.result = Code::Pointer;
  if (Failed(scanned.result)) {
    scanned.failure = LoadFailureText(scanned.result, loader);
    for (char16_t& c : scanned.failure)
      if (c == u'\n') c = u' ';
  } else {
    scanned.types = DeclaredTypes(*lib);
  }
  libraries_.push_back(std::move(scanned));
}

}  // namespace brannock::analysis
