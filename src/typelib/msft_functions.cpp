#include "typelib/msft_functions.h"

#include <algorithm>
#include <functional>

#include "typelib/variant.h"

namespace brannock::typelib::msft {

size_t TypeTable::KeyHash::operator()(const Key& k) const {
  const uint64_t kind = (uint64_t{k.vt} << 32) | k.hreftype;
  return std::hash<const void*>()(k.inner) ^ (std::hash<const void*>()(k.array) << 1) ^
         static_cast<size_t>(kind * 0x9E3779B97F4A7C15ull);
}

TypeId TypeTable::Add(const TypeDesc& desc) {
  const Key key{desc.vt, desc.hreftype, desc.lptdesc.get(), desc.lpadesc.get()};
  auto [at, added] = ids_.try_emplace(key, static_cast<TypeId>(types_.size()));
  if (added) types_.push_back(desc);
  return at->second;
}

TypeId TypeTable::Pointee(TypeId id) {
  if (types_[id].vt != VT_PTR || !types_[id].lptdesc) return id;
  // A copy: adding may move the table.
  const TypeDesc pointee = *types_[id].lptdesc;
  return Add(pointee);
}

void FillFuncDesc(const FuncModel& f, const ParamList& params, const TypeTable& types, FuncDesc* desc) {
  desc->memid = f.memid;
  desc->funckind = f.funckind;
  desc->invkind = f.invkind;
  desc->callconv = f.callconv;
  desc->cParams = f.cParams;
  desc->cParamsOpt = f.cParamsOpt;
  desc->oVft = f.oVft;
  desc->wFuncFlags = f.funcFlags;
  desc->elemdescFunc.tdesc = types[f.resultType];
  desc->elemdescFunc.paramdesc.pparamdescex.reset();
  desc->elemdescFunc.paramdesc.wParamFlags = f.resultFlags;
  // Assigned over what the record held, so that a record reused by the
  // caller keeps its storage.
  auto& out = desc->lprgelemdescParam;
  out.resize(f.paramCount);
  for (size_t i = 0; i < f.paramCount; ++i) {
    const ParamModel& p = params[f.firstParam + i];
    out[i].tdesc = types[p.type];
    out[i].paramdesc.pparamdescex = p.defaultValue;
    out[i].paramdesc.wParamFlags = p.flags;
  }
}

void AddFuncDesc(const FuncDesc& desc, TypeTable* types, ParamList* params, FuncModel* f) {
  f->memid = desc.memid;
  f->funckind = desc.funckind;
  f->invkind = desc.invkind;
  f->callconv = desc.callconv;
  f->cParams = desc.cParams;
  f->cParamsOpt = desc.cParamsOpt;
  f->oVft = desc.oVft;
  f->funcFlags = desc.wFuncFlags;
  f->resultType = types->Add(desc.elemdescFunc.tdesc);
  f->resultFlags = desc.elemdescFunc.paramdesc.wParamFlags;
  f->firstParam = static_cast<uint32_t>(params->size());
  f->paramCount = static_cast<uint16_t>(std::min<size_t>(desc.lprgelemdescParam.size(), 0xFFFF));
  for (size_t i = 0; i < f->paramCount; ++i) {
    const ElemDesc& e = desc.lprgelemdescParam[i];
    params->push_back({e.paramdesc.pparamdescex, types->Add(e.tdesc), e.paramdesc.wParamFlags});
  }
}

}  // namespace brannock::typelib::msft
