// The dispatch view of a dual interface: the functions of the whole
// interface chain in vtable order, turned into dispatch functions.
#include "typelib/msft_library.h"

namespace brannock::typelib::msft {
namespace {

constexpr int kMaxChainDepth = 32;

// Nested builds across libraries (a base imported from a library whose own
// base is imported again) end here.
thread_local int buildDepth = 0;

// A function of the library at the end of the view, with a copy of its
// parameters.
void AddLocalFunc(const LibModel& m, const FuncModel& f, DispatchView* view) {
  ViewFunc& added = view->funcs.emplace_back(ViewFunc{true, f});
  added.model.firstParam = static_cast<uint32_t>(view->params.size());
  const auto from = m.params.begin() + f.firstParam;
  view->params.insert(view->params.end(), from, from + f.paramCount);
}

class ViewBuilder {
 public:
  ViewBuilder(LibCore& core, DispatchView* view) : core_(core), view_(view) {}

  // Functions of the local interface at `index` and its bases; false when a
  // base cannot be reached.
  bool CollectLocal(size_t index, int depth);

 private:
  bool CollectForeign(std::shared_ptr<TypeInfo> info, int depth);
  bool CollectBase(HREFTYPE href, int depth);
  std::shared_ptr<const TypeDesc> Rebase(const std::shared_ptr<const TypeDesc>& desc, const std::shared_ptr<TypeInfo>& owner);
  void Rebase(TypeDesc* desc, const std::shared_ptr<TypeInfo>& owner);

  LibCore& core_;
  DispatchView* view_;
};

// References in a function of another type are made to resolve through this
// view: each becomes an entry of the view's foreign reference table.
void ViewBuilder::Rebase(TypeDesc* desc, const std::shared_ptr<TypeInfo>& owner) {
  if (desc->vt == VT_USERDEFINED) {
    const HREFTYPE original = desc->hreftype;
    desc->hreftype = static_cast<HREFTYPE>(view_->foreignRefs.size() << 2) | kForeignRefBits;
    view_->foreignRefs.emplace_back(owner, original);
  }
  if (desc->lptdesc) desc->lptdesc = Rebase(desc->lptdesc, owner);
  if (desc->lpadesc) {
    auto array = std::make_shared<ArrayDesc>(*desc->lpadesc);
    Rebase(&array->tdescElem, owner);
    desc->lpadesc = std::move(array);
  }
}

std::shared_ptr<const TypeDesc> ViewBuilder::Rebase(const std::shared_ptr<const TypeDesc>& desc,
                                                    const std::shared_ptr<TypeInfo>& owner) {
  auto copy = std::make_shared<TypeDesc>(*desc);
  Rebase(copy.get(), owner);
  return copy;
}

bool ViewBuilder::CollectBase(HREFTYPE href, int depth) {
  if ((href & 3) == 0 || (href & 3) == kInterfaceViewBit) {
    auto local = core_.model.typeByHref.find(href & ~HREFTYPE{3});
    return local != core_.model.typeByHref.end() && CollectLocal(local->second, depth + 1);
  }
  // A foreign base at the start of the view gives the same functions,
  // parameters and references to every view that starts with it.
  const bool first = view_->funcs.empty() && view_->params.empty() && view_->foreignRefs.empty();
  const auto key = std::make_pair(href, depth);
  if (first) {
    if (auto known = core_.foreignBases.find(key); known != core_.foreignBases.end()) {
      view_->funcs = known->second.funcs;
      view_->params = known->second.params;
      view_->foreignRefs = known->second.foreignRefs;
      return true;
    }
  }
  std::shared_ptr<TypeInfo> base;
  if (Failed(core_.ResolveHref(href, &base)) || !CollectForeign(std::move(base), depth + 1)) return false;
  if (first) {
    DispatchView& kept = core_.foreignBases[key];
    kept.funcs = view_->funcs;
    kept.params = view_->params;
    kept.foreignRefs = view_->foreignRefs;
  }
  return true;
}

bool ViewBuilder::CollectLocal(size_t index, int depth) {
  if (depth > kMaxChainDepth) return false;
  const TypeModel& t = core_.model.types[index];
  if (t.implTypeCount > 0 && t.baseHref != -1 && !CollectBase(static_cast<HREFTYPE>(t.baseHref), depth)) return false;
  for (const auto& f : t.funcs) AddLocalFunc(core_.model, f, view_);
  return true;
}

bool ViewBuilder::CollectForeign(std::shared_ptr<TypeInfo> info, int depth) {
  if (depth > kMaxChainDepth) return false;
  // A dual base contributes its interface view.
  HREFTYPE interfaceHref;
  std::shared_ptr<TypeInfo> interfaceView;
  if (Succeeded(info->GetRefTypeOfImplType(static_cast<unsigned>(-1), &interfaceHref)) &&
      Succeeded(info->GetRefTypeInfo(interfaceHref, &interfaceView)))
    info = std::move(interfaceView);
  TypeAttr attr;
  if (Failed(info->GetTypeAttr(&attr))) return false;
  if (attr.typekind == TKIND_INTERFACE && attr.cImplTypes > 0) {
    HREFTYPE href;
    std::shared_ptr<TypeInfo> base;
    if (Failed(info->GetRefTypeOfImplType(0, &href)) || Failed(info->GetRefTypeInfo(href, &base)) ||
        !CollectForeign(std::move(base), depth + 1))
      return false;
  }
  TextList names;
  std::vector<TextView> kept;
  Documentation doc;
  FuncDesc desc;
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    ViewFunc f;
    if (Failed(info->GetFuncDesc(i, &desc)) || Failed(info->GetNames(desc.memid, &names, 0xFFFF))) return false;
    // The texts of another library's function are kept in this library's store.
    kept.clear();
    for (const Text& name : names) kept.push_back(core_.model.texts.Keep(name));
    f.model.names = core_.model.texts.Keep(kept);
    if (Succeeded(info->GetDocumentation(desc.memid, &doc))) {
      f.model.docString = core_.model.texts.Keep(doc.docString);
      f.model.helpContext = doc.helpContext;
    }
    Rebase(&desc.elemdescFunc.tdesc, info);
    for (auto& p : desc.lprgelemdescParam) Rebase(&p.tdesc, info);
    AddFuncDesc(desc, &core_.model.memberTypes, &view_->params, &f.model);
    f.present = true;
    view_->funcs.push_back(std::move(f));
  }
  return true;
}

// An interface function as a dispatch function, as the caller of
// IDispatch::Invoke sees it: the locale parameter ([lcid]) is gone, in
// whatever position, since Invoke passes the locale itself; a final
// [out, retval] parameter becomes the result (one pointer less), whatever
// the function returns (an HRESULT, nothing or a number); an HRESULT result
// without one becomes VT_VOID.
void ToDispatchFunction(FuncModel* f, ParamModel* params, TypeTable& types, TextStore& texts) {
  f->funckind = FUNC_DISPATCH;
  size_t count = f->paramCount;
  for (size_t i = count; i-- > 0;) {
    if ((params[i].flags & ParamFlag::Lcid) == 0) continue;
    std::move(params + i + 1, params + count, params + i);
    --count;
    if (f->names.size() > i + 1) {
      std::vector<TextView> names(f->names.begin(), f->names.end());
      names.erase(names.begin() + static_cast<ptrdiff_t>(i + 1));
      f->names = texts.Keep(names);
    }
  }
  if (count > 0 && (params[count - 1].flags & ParamFlag::RetVal) != 0) {
    f->resultType = types.Pointee(params[count - 1].type);
    --count;
    if (f->names.size() > count + 1) f->names = f->names.first(count + 1);
  } else if (types[f->resultType].vt == VT_HRESULT) {
    TypeDesc none;
    none.vt = VT_VOID;
    f->resultType = types.Add(none);
  }
  f->paramCount = static_cast<uint16_t>(count);
  f->cParams = static_cast<int16_t>(count);
  f->resultFlags = 0;
}

}  // namespace

DispatchView BuildDispatchView(LibCore& core, size_t index) {
  DispatchView view;
  const TypeModel& t = core.model.types[index];
  ++buildDepth;
  bool complete = false;
  if (buildDepth <= 8) complete = ViewBuilder(core, &view).CollectLocal(index, 0);
  --buildDepth;
  if (!complete) {
    // The bases are out of reach: the inherited functions are counted, as
    // the vtable size says, but cannot be described.
    view.funcs.clear();
    view.params.clear();
    view.foreignRefs.clear();
    const size_t vtableCount = t.vtableSize / core.model.PointerSize();
    const size_t inherited = vtableCount > t.funcs.size() ? vtableCount - t.funcs.size() : 0;
    view.funcs.resize(inherited);
    for (const auto& f : t.funcs) AddLocalFunc(core.model, f, &view);
  }
  for (size_t i = 0; i < view.funcs.size(); ++i) {
    if (!view.funcs[i].present) continue;
    FuncModel& f = view.funcs[i].model;
    ToDispatchFunction(&f, view.params.data() + f.firstParam, core.model.memberTypes, core.model.texts);
    view.funcByMemid.Add(f.memid, i);
  }
  view.funcByMemid.Seal();
  return view;
}

}  // namespace brannock::typelib::msft
