#include "typelib/msft_members.h"

#include <vector>

namespace brannock::typelib::msft {

namespace {

// The records of one member block: `records` spans them, and starts at
// `recordsStart` in the file.
struct MemberRecords {
  Tables& tables;
  LibModel& lib;
  ByteReader records;
  size_t recordsStart = 0;
  bool module = false;  // the functions have entry points
  std::vector<TextView> names = {};  // a function's, while it is read

  bool Function(size_t recordOffset, int32_t memid, int32_t nameOffset, FuncModel* out);
  bool Variable(size_t recordOffset, int32_t memid, int32_t nameOffset, VarModel* out);
};

bool MemberRecords::Function(size_t recordOffset, int32_t memid, int32_t nameOffset, FuncModel* out) {
  const size_t where = recordsStart + recordOffset;
  tables.SetCurrentRecord(where);
  FuncRecord rec;
  if (!records.Seek(recordOffset) || !records.Read(&rec)) return tables.Fail(where, "function record");
  if (rec.recordSize < sizeof(FuncRecord) || !RangeFits(records.Size(), recordOffset, rec.recordSize))
    return tables.Fail(where, "function record size");
  const size_t end = recordOffset + rec.recordSize;
  const bool hasDefaults = (rec.kinds & kFuncHasDefaults) != 0;
  const size_t paramBytes = size_t{rec.paramCount} * sizeof(ParameterInfo);
  const size_t defaultBytes = hasDefaults ? size_t{rec.paramCount} * 4 : 0;
  if (paramBytes + defaultBytes > rec.recordSize - sizeof(FuncRecord))
    return tables.Fail(where, "function parameters");
  const size_t paramStart = end - paramBytes;
  const size_t defaultStart = paramStart - defaultBytes;

  // Optional fields between the fixed part and the defaults.
  std::array<int32_t, kFuncOptionalCount> optional;
  optional.fill(-1);
  optional[kFuncHelpContext] = 0;
  const size_t optionalCount = std::min<size_t>((defaultStart - recordOffset - sizeof(FuncRecord)) / 4,
                                                kFuncOptionalCount);
  for (size_t i = 0; i < optionalCount; ++i)
    if (!records.Read(&optional[i])) return tables.Fail(where, "function record");

  FuncModel& f = *out;
  f.memid = memid;
  f.funckind = static_cast<FuncKind>(rec.kinds & kFuncKindMask);
  f.invkind = static_cast<InvokeKind>((rec.kinds >> kInvokeKindShift) & kInvokeKindMask);
  f.callconv = static_cast<int32_t>((rec.kinds >> kCallConvShift) & kCallConvMask);
  f.cParams = static_cast<int16_t>(rec.paramCount);
  f.cParamsOpt = static_cast<int16_t>(rec.optionalParamCount);
  f.oVft = rec.vtableOffset;
  f.funcFlags = static_cast<uint16_t>(rec.funcFlags);
  if (!tables.MemberType(rec.returnType, &lib.memberTypes, &f.resultType)) return false;

  names.resize(1);
  if (!tables.Name(nameOffset, &names[0])) return false;
  f.helpContext = static_cast<uint32_t>(optional[kFuncHelpContext]);
  if (!tables.String(optional[kFuncHelpString], &f.docString)) return false;
  f.entryName = {};
  f.entryOrdinal = 0xFFFF;
  if (module && (rec.kinds & kFuncEntryIsOrdinal) != 0)
    f.entryOrdinal = static_cast<uint16_t>(optional[kFuncEntry] & 0xFFFF);
  else if (module && optional[kFuncEntry] != -1 && !tables.String(optional[kFuncEntry], &f.entryName))
    return false;

  f.firstParam = static_cast<uint32_t>(lib.params.size());
  f.paramCount = rec.paramCount;
  bool named = true;
  for (size_t i = 0; i < rec.paramCount; ++i) {
    ParameterInfo p;
    if (!records.Seek(paramStart + i * sizeof(ParameterInfo)) || !records.Read(&p))
      return tables.Fail(where, "function parameters");
    ParamModel& e = lib.params.emplace_back();
    if (!tables.MemberType(p.dataType, &lib.memberTypes, &e.type)) return false;
    e.flags = static_cast<uint16_t>(p.flags);
    if (named && p.nameOffset >= 0) {
      TextView name;
      if (!tables.Name(p.nameOffset, &name)) return false;
      names.push_back(name);
    } else {
      named = false;
    }
    if (hasDefaults && (p.flags & ParamFlag::HasDefault) != 0) {
      int32_t value;
      if (!records.Seek(defaultStart + i * 4) || !records.Read(&value))
        return tables.Fail(where, "parameter default values");
      if (value != -1) {
        auto ex = std::make_shared<ParamDescEx>();
        if (!tables.Value(value, &ex->varDefaultValue)) return false;
        e.defaultValue = std::move(ex);
      }
    }
  }
  out->names = tables.Texts().Keep(names);
  return true;
}

bool MemberRecords::Variable(size_t recordOffset, int32_t memid, int32_t nameOffset, VarModel* out) {
  const size_t where = recordsStart + recordOffset;
  tables.SetCurrentRecord(where);
  VarRecord rec;
  if (!records.Seek(recordOffset) || !records.Read(&rec)) return tables.Fail(where, "variable record");
  if (rec.recordSize < sizeof(VarRecord) || !RangeFits(records.Size(), recordOffset, rec.recordSize))
    return tables.Fail(where, "variable record size");
  std::array<int32_t, kVarOptionalCount> optional;
  optional.fill(-1);
  optional[kVarHelpContext] = 0;
  const size_t optionalCount = std::min<size_t>((rec.recordSize - sizeof(VarRecord)) / 4, kVarOptionalCount);
  for (size_t i = 0; i < optionalCount; ++i)
    if (!records.Read(&optional[i])) return tables.Fail(where, "variable record");

  VarDesc& d = out->desc;
  d.memid = memid;
  d.wVarFlags = static_cast<uint16_t>(rec.varFlags);
  d.varkind = static_cast<VarKind>(rec.varKind);
  if (!tables.DataType(rec.dataType, &d.elemdescVar.tdesc)) return false;
  if (d.varkind == VAR_CONST) {
    auto value = std::make_shared<Variant>();
    if (!tables.Value(rec.value, value.get())) return false;
    d.lpvarValue = std::move(value);
  } else {
    d.oInst = static_cast<uint32_t>(rec.value);
  }
  out->helpContext = static_cast<uint32_t>(optional[kVarHelpContext]);
  return tables.Name(nameOffset, &out->name) && tables.String(optional[kVarHelpString], &out->docString);
}

}  // namespace

bool ReadMembers(Tables& tables, const TypeInfoBase& base, LibModel* lib, TypeModel* type) {
  const size_t funcCount = base.elementCounts & 0xFFFF;
  const size_t varCount = base.elementCounts >> 16;
  const size_t total = funcCount + varCount;
  if (total == 0) return true;
  const size_t where = base.memberOffset < 0 ? 0 : static_cast<size_t>(base.memberOffset);
  ByteReader block(tables.File());
  int32_t recordsLength;
  if (base.memberOffset < 0 || !block.Seek(static_cast<size_t>(base.memberOffset)) || !block.Read(&recordsLength) ||
      recordsLength < 0)
    return tables.Fail(where, "member block");
  MemberRecords members{tables, *lib, {}, block.Offset(), type->kind == TKIND_MODULE};
  members.names.reserve(16);
  if (!block.SubReader(members.recordsStart, static_cast<size_t>(recordsLength), &members.records) ||
      !block.Skip(static_cast<size_t>(recordsLength)))
    return tables.Fail(where, "member records");
  std::vector<int32_t> ids(total), names(total), offsets(total);
  for (auto* array : {&ids, &names, &offsets})
    for (auto& v : *array)
      if (!block.Read(&v)) return tables.Fail(block.Offset(), "member tables");

  type->funcs.resize(funcCount);
  for (size_t i = 0; i < funcCount; ++i)
    if (offsets[i] < 0 || !members.Function(static_cast<size_t>(offsets[i]), ids[i], names[i], &type->funcs[i]))
      return tables.Fail(members.recordsStart, "function record offset");
  // Functions of a dispinterface have no vtable slot.
  if (type->kind == TKIND_DISPATCH && (type->flags & TypeFlag::Dual) == 0)
    for (auto& f : type->funcs) f.oVft = 0;
  type->vars.resize(varCount);
  for (size_t i = 0; i < varCount; ++i) {
    const size_t k = funcCount + i;
    if (offsets[k] < 0 || !members.Variable(static_cast<size_t>(offsets[k]), ids[k], names[k], &type->vars[i]))
      return tables.Fail(members.recordsStart, "variable record offset");
  }
  for (size_t i = 0; i < funcCount; ++i) type->funcByMemid.Add(type->funcs[i].memid, i);
  for (size_t i = 0; i < varCount; ++i) type->varByMemid.Add(type->vars[i].desc.memid, i);
  type->funcByMemid.Seal();
  type->varByMemid.Seal();
  return true;
}

}  // namespace brannock::typelib::msft
