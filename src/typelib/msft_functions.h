// How the reader keeps the functions of a library: small records that name
// their result and parameter types by their place in the library's type
// table and hold their parameters as a run of one shared parameter list, so
// that reading a library makes no block per function. GetFuncDesc makes the
// access layer's FuncDesc of one on demand.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "typelib/access.h"
#include "typelib/text_store.h"

namespace brannock::typelib::msft {

// A type's place in a TypeTable.
using TypeId = uint32_t;

// The types the members of a library use, each kept once: two descriptions
// are one when their kind and referenced type are the same and they share
// the same inner descriptions (the reader shares the inner description of
// every pointer and array it reads once).
class TypeTable {
 public:
  TypeId Add(const TypeDesc& desc);
  // The type `id` points to: itself when it is no pointer.
  TypeId Pointee(TypeId id);
  const TypeDesc& operator[](TypeId id) const { return types_[id]; }
  size_t Size() const { return types_.size(); }

 private:
  struct Key {
    uint16_t vt;
    HREFTYPE hreftype;
    const void* inner;
    const void* array;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const;
  };
  std::vector<TypeDesc> types_;
  std::unordered_map<Key, TypeId, KeyHash> ids_;
};

// One parameter: its type, its PARAMFLAGs and its default value.
struct ParamModel {
  std::shared_ptr<const ParamDescEx> defaultValue;  // with PARAMFLAG_FHASDEFAULT
  TypeId type = 0;
  uint16_t flags = 0;
};

// One function. Its parameters are `paramCount` entries from `firstParam`
// of the parameter list of what holds it (the library's, or a dispatch
// view's); cParams is the count FUNCDESC reports.
struct FuncModel {
  MEMBERID memid = 0;
  FuncKind funckind = FUNC_PUREVIRTUAL;
  InvokeKind invkind = INVOKE_FUNC;
  int32_t callconv = 4;  // CC_STDCALL
  TypeId resultType = 0;
  uint32_t firstParam = 0;
  uint16_t paramCount = 0;
  int16_t cParams = 0;
  int16_t cParamsOpt = 0;
  int16_t oVft = 0;
  uint16_t funcFlags = 0;
  uint16_t resultFlags = 0;  // the PARAMFLAGs of the result
  uint16_t entryOrdinal = 0xFFFF;  // functions of a module: the entry point's number (0xFFFF: none)
  uint32_t helpContext = 0;
  // Views of the library's text store.
  TextViews names;  // the member's name, then parameter names up to the first unnamed one
  TextView docString;
  TextView entryName;  // functions of a module: the entry point's name, empty for one given by number
};

using ParamList = std::vector<ParamModel>;

// The FuncDesc of `f`, whose parameters are in `params`; every field is set.
void FillFuncDesc(const FuncModel& f, const ParamList& params, const TypeTable& types, FuncDesc* desc);

// The function `desc` describes, its types added to `types` and its
// parameters to the end of `params`; the texts of `f` are left as they are.
// A result has no default value, so none is kept for it.
void AddFuncDesc(const FuncDesc& desc, TypeTable* types, ParamList* params, FuncModel* f);

}  // namespace brannock::typelib::msft
