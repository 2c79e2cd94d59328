#include <array>
#include <bit>
#include <cstring>
#include <map>
#include <optional>

#include "common/windows1252.h"
#include "typelib/msft_model.h"
#include "typelib/msft_records.h"
#include "typelib/read_error.h"

namespace brannock::typelib::msft {

Variant VariantFromBits(uint16_t vt, uint64_t bits) {
  Variant v;
  v.vt = vt;
  switch (vt) {
    case VT_I1: v.intVal = static_cast<int8_t>(bits); break;
    case VT_UI1: v.intVal = static_cast<uint8_t>(bits); break;
    case VT_I2:
    case VT_BOOL: v.intVal = static_cast<int16_t>(bits); break;
    case VT_UI2: v.intVal = static_cast<uint16_t>(bits); break;
    case VT_I4:
    case VT_INT:
    case VT_ERROR:
    case VT_HRESULT: v.intVal = static_cast<int32_t>(bits); break;
    case VT_UI4:
    case VT_UINT: v.intVal = static_cast<uint32_t>(bits); break;
    case VT_R4: v.dblVal = std::bit_cast<float>(static_cast<uint32_t>(bits)); break;
    case VT_R8:
    case VT_DATE:
      v.dblVal = std::bit_cast<double>(bits);
      v.intVal = static_cast<int64_t>(bits);
      break;
    default: v.intVal = static_cast<int64_t>(bits); break;
  }
  return v;
}

namespace {

constexpr int kMaxTypeDepth = 32;

class Parser {
 public:
  explicit Parser(ByteSpan file) : file_(file) {}

  Expected<void> Run(LibModel* lib);

 private:
  bool ReadSegments(size_t directoryOffset);
  bool Name(int32_t offset, Text* out);
  bool String(int32_t offset, Text* out);
  bool GuidAt(int32_t offset, Guid* out);
  bool DataType(int32_t dataType, int depth, TypeDesc* out);
  bool ArrayType(int32_t offset, int depth, std::shared_ptr<const ArrayDesc>* out);
  bool Value(int32_t encoded, Variant* out);
  bool ImportTables(LibModel* lib);
  bool Type(size_t index, int32_t offset, LibModel* lib);
  bool Members(const TypeInfoBase& base, TypeModel* type);
  bool Function(ByteReader& records, size_t recordOffset, int32_t memid, int32_t nameOffset, FuncModel* out);
  bool Variable(ByteReader& records, size_t recordOffset, int32_t memid, int32_t nameOffset, VarModel* out);

  // Keeps the first failure, which is the innermost one (callers fail
  // after it), and gives false.
  bool Fail(size_t fileOffset, const char* record) {
    if (!failure_) failure_ = ReadFailure{Code::TypeInvDataRead, fileOffset, record};
    return false;
  }
  // The failure kept by Fail (every reader that gives false calls it first).
  ReadFailure Failure() const { return failure_.value_or(ReadFailure{Code::TypeInvDataRead, 0, "library"}); }
  // The file offset of an offset into a segment.
  size_t At(Segment segment, int64_t offset) const {
    return segmentStart_[segment] + static_cast<size_t>(offset < 0 ? 0 : offset);
  }

  ByteSpan file_;
  std::array<ByteReader, kSegmentCount> segments_;
  std::array<size_t, kSegmentCount> segmentStart_{};
  size_t recordsStart_ = 0;  // file offset of the member records of the type being read
  size_t current_ = 0;       // file offset of the record being read
  std::optional<ReadFailure> failure_;
  std::map<int32_t, std::shared_ptr<const TypeDesc>> typeDescCache_;
};

bool Parser::ReadSegments(size_t directoryOffset) {
  ByteReader r(file_);
  if (r.Seek(directoryOffset) != ReadStatus::Ok) return Fail(directoryOffset, "segment directory");
  for (size_t k = 0; k < segments_.size(); ++k) {
    const size_t entryOffset = r.Offset();
    SegmentEntry e;
    if (r.Read(&e) != ReadStatus::Ok) return Fail(entryOffset, "segment directory");
    if (e.offset < 0 || e.length <= 0) {
      segments_[k] = ByteReader();
      continue;
    }
    if (ByteReader(file_).SubReader(static_cast<size_t>(e.offset), static_cast<size_t>(e.length), &segments_[k]) !=
        ReadStatus::Ok)
      return Fail(entryOffset, "segment directory entry");
    segmentStart_[k] = static_cast<size_t>(e.offset);
  }
  return true;
}

// An entry of the name or string table: its record, then as many 8-bit
// characters as the record's length says.
template <typename Entry, typename LengthOf>
bool ReadCountedText(ByteReader r, int32_t offset, LengthOf lengthOf, Text* out) {
  out->clear();
  if (offset < 0) return true;
  Entry e;
  ByteSpan chars;
  if (r.Seek(static_cast<size_t>(offset)) != ReadStatus::Ok || r.Read(&e) != ReadStatus::Ok ||
      r.ReadBytes(lengthOf(e), &chars) != ReadStatus::Ok)
    return false;
  *out = Windows1252ToText(chars);
  return true;
}

bool Parser::Name(int32_t offset, Text* out) {
  return ReadCountedText<NameEntry>(segments_[kNameSegment], offset,
                                    [](const NameEntry& e) { return size_t{e.lengthAndHash & 0xFF}; }, out) ||
         Fail(At(kNameSegment, offset), "name table entry");
}

bool Parser::String(int32_t offset, Text* out) {
  return ReadCountedText<StringEntry>(segments_[kStringSegment], offset,
                                      [](const StringEntry& e) { return size_t{e.length}; }, out) ||
         Fail(At(kStringSegment, offset), "string table entry");
}

bool Parser::GuidAt(int32_t offset, Guid* out) {
  *out = Guid{};
  if (offset < 0) return true;
  GuidEntry e;
  if (ReadAt(segments_[kGuidSegment].Data(), static_cast<size_t>(offset), &e) != ReadStatus::Ok)
    return Fail(At(kGuidSegment, offset), "GUID table entry");
  *out = GuidFromBytes(e.guid);
  return true;
}

bool Parser::DataType(int32_t dataType, int depth, TypeDesc* out) {
  *out = TypeDesc{};
  if (depth > kMaxTypeDepth) return Fail(At(kTypeDescSegment, dataType), "type descriptor (nested too deep)");
  if (IsEmbeddedType(dataType)) {
    out->vt = EmbeddedVarType(dataType);
    // The composite kinds need an entry of the type descriptor table.
    const uint16_t base = out->vt & 0x0FFF;
    return (base != VT_PTR && base != VT_SAFEARRAY && base != VT_CARRAY) ||
           Fail(current_, "embedded type descriptor of a composite type");
  }
  TypeDescEntry e;
  if (ReadAt(segments_[kTypeDescSegment].Data(), static_cast<size_t>(dataType), &e) != ReadStatus::Ok)
    return Fail(At(kTypeDescSegment, dataType), "type descriptor");
  out->vt = e.vt;
  switch (e.vt & 0x0FFF) {
    case VT_PTR:
    case VT_SAFEARRAY: {
      auto cached = typeDescCache_.find(e.value);
      if (cached != typeDescCache_.end() && !IsEmbeddedType(e.value)) {
        out->lptdesc = cached->second;
        return true;
      }
      auto inner = std::make_shared<TypeDesc>();
      if (!DataType(e.value, depth + 1, inner.get())) return false;
      if (!IsEmbeddedType(e.value)) typeDescCache_[e.value] = inner;
      out->lptdesc = std::move(inner);
      return true;
    }
    case VT_CARRAY:
      return ArrayType(e.value, depth + 1, &out->lpadesc);
    case VT_USERDEFINED:
      out->hreftype = static_cast<HREFTYPE>(e.value);
      return true;
    default:
      return true;
  }
}

bool Parser::ArrayType(int32_t offset, int depth, std::shared_ptr<const ArrayDesc>* out) {
  const size_t where = At(kArrayDescSegment, offset);
  if (offset < 0) return Fail(where, "array descriptor");
  ByteReader r = segments_[kArrayDescSegment];
  ArrayDescHeader h;
  if (r.Seek(static_cast<size_t>(offset)) != ReadStatus::Ok || r.Read(&h) != ReadStatus::Ok)
    return Fail(where, "array descriptor");
  auto array = std::make_shared<ArrayDesc>();
  array->cDims = h.dimensionCount;
  if (static_cast<size_t>(h.dimensionCount) * sizeof(ArrayBound) > r.Remaining()) return Fail(where, "array bounds");
  array->rgbounds.resize(h.dimensionCount);
  for (auto& bound : array->rgbounds) {
    ArrayBound b;
    if (r.Read(&b) != ReadStatus::Ok) return Fail(where, "array bounds");
    bound.cElements = b.elementCount;
    bound.lLbound = b.lowerBound;
  }
  if (!DataType(h.elementType, depth + 1, &array->tdescElem)) return false;
  *out = std::move(array);
  return true;
}

// The variant's value from its raw little-endian bits.

size_t ValueSize(uint16_t vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT:
    case VT_UINT: case VT_R4: case VT_ERROR: case VT_BOOL: case VT_HRESULT:
      return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE:
      return 8;
    default:
      return 0;
  }
}

bool Parser::Value(int32_t encoded, Variant* out) {
  if (IsEmbeddedValue(encoded)) {
    *out = VariantFromBits(EmbeddedValueType(encoded), EmbeddedValueBits(encoded));
    return true;
  }
  const size_t where = At(kCustomDataSegment, encoded);
  ByteReader r = segments_[kCustomDataSegment];
  CustomValueHeader h;
  if (r.Seek(static_cast<size_t>(encoded)) != ReadStatus::Ok || r.Read(&h) != ReadStatus::Ok)
    return Fail(where, "constant value");
  if (h.vt == VT_BSTR) {
    int32_t length;
    if (r.Read(&length) != ReadStatus::Ok) return Fail(where, "constant value");
    ByteSpan chars;
    if (length > 0 && r.ReadBytes(static_cast<size_t>(length), &chars) != ReadStatus::Ok)
      return Fail(where, "constant value");
    *out = Variant::Str(Windows1252ToText(chars));
    return true;
  }
  if (h.vt == VT_DECIMAL) {
    Variant v;
    v.vt = VT_DECIMAL;
    if (r.Read(&v.decimal) != ReadStatus::Ok) return Fail(where, "constant value");
    *out = v;
    return true;
  }
  const size_t size = ValueSize(h.vt);
  uint64_t bits = 0;
  if (size == 4) {
    uint32_t b;
    if (r.Read(&b) != ReadStatus::Ok) return Fail(where, "constant value");
    bits = b;
  } else if (size == 8) {
    if (r.Read(&bits) != ReadStatus::Ok) return Fail(where, "constant value");
  }
  *out = VariantFromBits(h.vt, bits);
  return true;
}

bool Parser::ImportTables(LibModel* lib) {
  std::map<int32_t, size_t> libraryByOffset;
  ByteReader infos = segments_[kImportInfoSegment];
  while (infos.Remaining() >= sizeof(ImportInfo)) {
    const auto infoOffset = static_cast<HREFTYPE>(infos.Offset());
    ImportInfo info;
    if (infos.Read(&info) != ReadStatus::Ok) return Fail(At(kImportInfoSegment, infoOffset), "import info");
    auto known = libraryByOffset.find(info.importFileOffset);
    size_t libraryIndex;
    if (known != libraryByOffset.end()) {
      libraryIndex = known->second;
    } else {
      ByteReader r = segments_[kImportFileSegment];
      ImportFile f;
      ByteSpan chars;
      if (info.importFileOffset < 0 || r.Seek(static_cast<size_t>(info.importFileOffset)) != ReadStatus::Ok ||
          r.Read(&f) != ReadStatus::Ok || r.ReadBytes(f.nameSize >> 2, &chars) != ReadStatus::Ok)
        return Fail(At(kImportFileSegment, info.importFileOffset), "import file");
      ImportedLibrary imported;
      if (!GuidAt(f.guidOffset, &imported.libid)) return false;
      imported.lcid = f.lcid;
      imported.majorVersion = static_cast<uint16_t>(f.version & 0xFFFF);
      imported.minorVersion = static_cast<uint16_t>(f.version >> 16);
      imported.fileName = Windows1252ToText(chars);
      libraryIndex = lib->imports.size();
      lib->imports.push_back(std::move(imported));
      libraryByOffset.emplace(info.importFileOffset, libraryIndex);
    }
    ImportedType type;
    type.library = libraryIndex;
    type.byGuid = (info.flags & kImportByGuid) != 0;
    if (type.byGuid) {
      if (!GuidAt(info.typeRef, &type.guid)) return false;
    } else {
      type.index = static_cast<uint32_t>(info.typeRef);
    }
    lib->importedTypes.emplace(infoOffset | 1, type);
  }
  return true;
}

bool Parser::Function(ByteReader& records, size_t recordOffset, int32_t memid, int32_t nameOffset,
                      FuncModel* out) {
  const size_t where = current_ = recordsStart_ + recordOffset;
  FuncRecord rec;
  if (records.Seek(recordOffset) != ReadStatus::Ok || records.Read(&rec) != ReadStatus::Ok)
    return Fail(where, "function record");
  if (rec.recordSize < sizeof(FuncRecord) || !RangeFits(records.Size(), recordOffset, rec.recordSize))
    return Fail(where, "function record size");
  const size_t end = recordOffset + rec.recordSize;
  const bool hasDefaults = (rec.kinds & kFuncHasDefaults) != 0;
  const size_t paramBytes = size_t{rec.paramCount} * sizeof(ParameterInfo);
  const size_t defaultBytes = hasDefaults ? size_t{rec.paramCount} * 4 : 0;
  if (paramBytes + defaultBytes > rec.recordSize - sizeof(FuncRecord)) return Fail(where, "function parameters");
  const size_t paramStart = end - paramBytes;
  const size_t defaultStart = paramStart - defaultBytes;

  // Optional fields between the fixed part and the defaults.
  std::array<int32_t, kFuncOptionalCount> optional;
  optional.fill(-1);
  optional[kFuncHelpContext] = 0;
  const size_t optionalCount = std::min<size_t>((defaultStart - recordOffset - sizeof(FuncRecord)) / 4,
                                                kFuncOptionalCount);
  for (size_t i = 0; i < optionalCount; ++i)
    if (records.Read(&optional[i]) != ReadStatus::Ok) return Fail(where, "function record");

  FuncDesc& d = out->desc;
  d.memid = memid;
  d.funckind = static_cast<FuncKind>(rec.kinds & kFuncKindMask);
  d.invkind = static_cast<InvokeKind>((rec.kinds >> kInvokeKindShift) & kInvokeKindMask);
  d.callconv = static_cast<int32_t>((rec.kinds >> kCallConvShift) & kCallConvMask);
  d.cParams = static_cast<int16_t>(rec.paramCount);
  d.cParamsOpt = static_cast<int16_t>(rec.optionalParamCount);
  d.oVft = rec.vtableOffset;
  d.wFuncFlags = static_cast<uint16_t>(rec.funcFlags);
  if (!DataType(rec.returnType, 0, &d.elemdescFunc.tdesc)) return false;

  out->names.clear();
  out->names.reserve(size_t{rec.paramCount} + 1);
  out->names.emplace_back();
  if (!Name(nameOffset, &out->names[0])) return false;
  out->helpContext = static_cast<uint32_t>(optional[kFuncHelpContext]);
  if (!String(optional[kFuncHelpString], &out->docString)) return false;

  d.lprgelemdescParam.resize(rec.paramCount);
  bool named = true;
  for (size_t i = 0; i < rec.paramCount; ++i) {
    ParameterInfo p;
    if (records.Seek(paramStart + i * sizeof(ParameterInfo)) != ReadStatus::Ok || records.Read(&p) != ReadStatus::Ok)
      return Fail(where, "function parameters");
    ElemDesc& e = d.lprgelemdescParam[i];
    if (!DataType(p.dataType, 0, &e.tdesc)) return false;
    e.paramdesc.wParamFlags = static_cast<uint16_t>(p.flags);
    if (named && p.nameOffset >= 0) {
      Text name;
      if (!Name(p.nameOffset, &name)) return false;
      out->names.push_back(std::move(name));
    } else {
      named = false;
    }
    if (hasDefaults && (p.flags & ParamFlag::HasDefault) != 0) {
      int32_t value;
      if (records.Seek(defaultStart + i * 4) != ReadStatus::Ok || records.Read(&value) != ReadStatus::Ok)
        return Fail(where, "parameter default values");
      if (value != -1) {
        auto ex = std::make_shared<ParamDescEx>();
        if (!Value(value, &ex->varDefaultValue)) return false;
        e.paramdesc.pparamdescex = std::move(ex);
      }
    }
  }
  return true;
}

bool Parser::Variable(ByteReader& records, size_t recordOffset, int32_t memid, int32_t nameOffset, VarModel* out) {
  const size_t where = current_ = recordsStart_ + recordOffset;
  VarRecord rec;
  if (records.Seek(recordOffset) != ReadStatus::Ok || records.Read(&rec) != ReadStatus::Ok)
    return Fail(where, "variable record");
  if (rec.recordSize < sizeof(VarRecord) || !RangeFits(records.Size(), recordOffset, rec.recordSize))
    return Fail(where, "variable record size");
  std::array<int32_t, kVarOptionalCount> optional;
  optional.fill(-1);
  optional[kVarHelpContext] = 0;
  const size_t optionalCount = std::min<size_t>((rec.recordSize - sizeof(VarRecord)) / 4, kVarOptionalCount);
  for (size_t i = 0; i < optionalCount; ++i)
    if (records.Read(&optional[i]) != ReadStatus::Ok) return Fail(where, "variable record");

  VarDesc& d = out->desc;
  d.memid = memid;
  d.wVarFlags = static_cast<uint16_t>(rec.varFlags);
  d.varkind = static_cast<VarKind>(rec.varKind);
  if (!DataType(rec.dataType, 0, &d.elemdescVar.tdesc)) return false;
  if (d.varkind == VAR_CONST) {
    auto value = std::make_shared<Variant>();
    if (!Value(rec.value, value.get())) return false;
    d.lpvarValue = std::move(value);
  } else {
    d.oInst = static_cast<uint32_t>(rec.value);
  }
  out->helpContext = static_cast<uint32_t>(optional[kVarHelpContext]);
  return Name(nameOffset, &out->name) && String(optional[kVarHelpString], &out->docString);
}

// The member block: its length, the records, then the member ids, the name
// offsets and the record offsets of all functions followed by all variables.
bool Parser::Members(const TypeInfoBase& base, TypeModel* type) {
  const size_t funcCount = base.elementCounts & 0xFFFF;
  const size_t varCount = base.elementCounts >> 16;
  const size_t total = funcCount + varCount;
  if (total == 0) return true;
  const size_t where = base.memberOffset < 0 ? 0 : static_cast<size_t>(base.memberOffset);
  ByteReader block(file_);
  int32_t recordsLength;
  if (base.memberOffset < 0 || block.Seek(static_cast<size_t>(base.memberOffset)) != ReadStatus::Ok ||
      block.Read(&recordsLength) != ReadStatus::Ok || recordsLength < 0)
    return Fail(where, "member block");
  ByteReader records;
  recordsStart_ = block.Offset();
  if (block.SubReader(recordsStart_, static_cast<size_t>(recordsLength), &records) != ReadStatus::Ok ||
      block.Skip(static_cast<size_t>(recordsLength)) != ReadStatus::Ok)
    return Fail(where, "member records");
  std::vector<int32_t> ids(total), names(total), offsets(total);
  for (auto* array : {&ids, &names, &offsets})
    for (auto& v : *array)
      if (block.Read(&v) != ReadStatus::Ok) return Fail(block.Offset(), "member tables");

  type->funcs.resize(funcCount);
  for (size_t i = 0; i < funcCount; ++i)
    if (offsets[i] < 0 || !Function(records, static_cast<size_t>(offsets[i]), ids[i], names[i], &type->funcs[i]))
      return Fail(recordsStart_, "function record offset");
  // Functions of a dispinterface have no vtable slot.
  if (type->kind == TKIND_DISPATCH && (type->flags & TypeFlag::Dual) == 0)
    for (auto& f : type->funcs) f.desc.oVft = 0;
  type->vars.resize(varCount);
  for (size_t i = 0; i < varCount; ++i) {
    const size_t k = funcCount + i;
    if (offsets[k] < 0 || !Variable(records, static_cast<size_t>(offsets[k]), ids[k], names[k], &type->vars[i]))
      return Fail(recordsStart_, "variable record offset");
  }
  for (size_t i = 0; i < funcCount; ++i) type->funcByMemid.Add(type->funcs[i].desc.memid, i);
  for (size_t i = 0; i < varCount; ++i) type->varByMemid.Add(type->vars[i].desc.memid, i);
  type->funcByMemid.Seal();
  type->varByMemid.Seal();
  return true;
}

bool Parser::Type(size_t index, int32_t offset, LibModel* lib) {
  const size_t where = current_ = At(kTypeInfoSegment, offset);
  TypeInfoBase base;
  if (offset < 0 || ReadAt(segments_[kTypeInfoSegment].Data(), static_cast<size_t>(offset), &base) != ReadStatus::Ok)
    return Fail(where, "type info record");
  TypeModel& t = lib->types[index];
  t.href = static_cast<HREFTYPE>(offset);
  const uint32_t kind = base.typekind & 0xF;
  if (kind > TKIND_UNION) return Fail(where, "type info record (type kind)");
  t.kind = static_cast<TypeKind>(kind);
  t.alignment = static_cast<uint16_t>((base.typekind >> 11) & 0x1F);
  t.flags = static_cast<uint16_t>(base.flags);
  t.majorVersion = static_cast<uint16_t>(base.version & 0xFFFF);
  t.minorVersion = static_cast<uint16_t>(base.version >> 16);
  t.instanceSize = base.instanceSize;
  t.vtableSize = base.vtableSize;
  t.implTypeCount = base.implTypeCount;
  t.helpContext = base.helpContext;
  if (!GuidAt(base.guidOffset, &t.guid) || !Name(base.nameOffset, &t.name) ||
      !String(base.docStringOffset, &t.docString))
    return false;
  switch (t.kind) {
    case TKIND_ALIAS:
      if (!DataType(base.datatype1, 0, &t.aliasType)) return false;
      break;
    case TKIND_INTERFACE:
    case TKIND_DISPATCH:
      t.baseHref = base.datatype1;
      break;
    case TKIND_COCLASS: {
      int32_t next = base.datatype1;
      for (size_t i = 0; i < t.implTypeCount; ++i) {
        RefRecord ref;
        if (next < 0 || ReadAt(segments_[kRefTableSegment].Data(), static_cast<size_t>(next), &ref) != ReadStatus::Ok)
          return Fail(At(kRefTableSegment, next), "implemented type reference");
        t.implTypes.push_back({static_cast<HREFTYPE>(ref.href), ref.implTypeFlags});
        next = ref.next;
      }
      break;
    }
    default:
      break;
  }
  return Members(base, &t);
}

Expected<void> Parser::Run(LibModel* lib) {
  ByteReader r(file_);
  Header h;
  if (!IsMsftTypeLib(file_)) return ReadFailure{Code::TypeCantLoadLibrary, 0, "header (no MSFT signature)"};
  if (r.Read(&h) != ReadStatus::Ok) return ReadFailure{Code::TypeInvDataRead, 0, "header"};
  if ((h.varflags & kHelpDllFlag) != 0 && r.Skip(4) != ReadStatus::Ok)
    return ReadFailure{Code::TypeInvDataRead, r.Offset(), "header (help DLL)"};
  if (h.typeInfoCount < 0 || static_cast<size_t>(h.typeInfoCount) > r.Remaining() / 4)
    return ReadFailure{Code::TypeInvDataRead, r.Offset(), "type info offsets"};
  std::vector<int32_t> typeOffsets(static_cast<size_t>(h.typeInfoCount));
  for (auto& o : typeOffsets)
    if (r.Read(&o) != ReadStatus::Ok) return ReadFailure{Code::TypeInvDataRead, r.Offset(), "type info offsets"};
  if (!ReadSegments(r.Offset())) return Failure();

  lib->lcid = h.lcid;
  lib->typeLcid = h.lcid2;
  lib->syskind = h.varflags & 0xF;
  lib->libFlags = static_cast<uint16_t>(h.flags);
  lib->majorVersion = static_cast<uint16_t>(h.version & 0xFFFF);
  lib->minorVersion = static_cast<uint16_t>(h.version >> 16);
  lib->helpContext = h.helpContext;
  lib->dispatchHref = h.dispatchHref;
  if (!GuidAt(h.guidOffset, &lib->libid) || !Name(h.nameOffset, &lib->name) ||
      !String(h.helpStringOffset, &lib->docString) || !String(h.helpFileOffset, &lib->helpFile) ||
      !ImportTables(lib))
    return Failure();

  lib->types.resize(typeOffsets.size());
  for (size_t i = 0; i < typeOffsets.size(); ++i) {
    if (!Type(i, typeOffsets[i], lib)) return Failure();
    lib->typeByHref.emplace(lib->types[i].href, i);
  }
  return {};
}

}  // namespace

bool IsMsftTypeLib(ByteSpan file) {
  uint32_t magic = 0;
  return ReadAt(file, 0, &magic) == ReadStatus::Ok && magic == kMagic;
}

Expected<void> ParseMsftTypeLib(ByteSpan file, LibModel* out) {
  *out = LibModel{};
  Parser parser(file);
  Expected<void> parsed = parser.Run(out);
  if (!parsed) *out = LibModel{};
  return parsed;
}

}  // namespace brannock::typelib::msft
