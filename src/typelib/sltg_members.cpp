#include "typelib/sltg_members.h"

#include <optional>

namespace brannock::typelib::sltg {
namespace {

#pragma pack(push, 1)
struct FuncRecord {
  uint8_t magic;  // also the function's kind
  uint8_t flags;  // INVOKEKIND << 4
  uint16_t next;
  uint16_t name;
  uint32_t memid;
  uint16_t helpContext;
  uint16_t helpString;
  uint16_t argsOffset;
  uint8_t argCount;  // << 3
  uint8_t optionalCount;  // << 1, with the calling convention's bit 0x80
  uint16_t resultType;
  uint16_t vtableOffset;
};
struct ArgRecord {
  uint16_t name;  // bit 0: the type is the word itself
  uint16_t type;
};
struct VarRecord {
  uint8_t magic;
  uint8_t flags;
  uint16_t next;
  uint16_t name;
  uint16_t offset;  // in an instance; for a constant: its value, or where it lies
  uint16_t type;
  uint32_t memid;
  uint16_t helpContext;
  uint16_t helpString;
};
struct ImplRecord {
  uint8_t magic;
  uint8_t reserved01;
  uint16_t next;
  uint16_t reserved04;
  uint16_t flags;  // IMPLTYPEFLAGS | 0x8000
  uint16_t type;
  uint8_t reserved0a[8];
};
struct ArrayHeader {  // a SAFEARRAY's header, then its bounds
  uint16_t dims;
  uint8_t reserved[14];
};
#pragma pack(pop)
static_assert(sizeof(FuncRecord) == 0x16 && sizeof(VarRecord) == 0x12 && sizeof(ImplRecord) == 0x12);

constexpr uint8_t kVarMagic = 0x0A, kImplMagic = 0x4A;
constexpr uint8_t kVarTypeInline = 0x02, kVarValueInline = 0x08, kVarConst = 0x10, kVarDispatch = 0x40,
                  kVarReadOnly = 0x80;
constexpr uint16_t kVarFlagReadOnly = 0x1;  // VARFLAG_FREADONLY
constexpr uint16_t kPointerBits = 0x0E00;
constexpr uint16_t kRetValBit = 0x80;
constexpr uint16_t kTypeMask = 0x3F;
constexpr int kMaxTypeDepth = 16;

enum class Outcome { Read, Unknown, Damaged };

// A function's result and an alias's type carry no mark of their own: the
// word is the type itself when it can be one (a base type with nothing but
// the direction, pointer and retval bits), else where the type lies.
bool LooksInline(uint16_t word) {
  const uint16_t vt = word & kTypeMask;
  return (word & 0x3100) == 0 && vt != VT_EMPTY && vt <= VT_LPWSTR && vt != VT_PTR && vt != VT_USERDEFINED && vt != VT_SAFEARRAY &&
         vt != VT_CARRAY;
}

class TypeReader {
 public:
  TypeReader(ByteSpan block, size_t fileOffset, const LibraryContext& library)
      : block_(block), fileOffset_(fileOffset), library_(library) {}

  Expected<void> Run(msft::LibModel* lib, msft::TypeModel* t);

 private:
  Outcome Members(msft::LibModel* lib, msft::TypeModel* t, const TypeTail& tail);
  Outcome References();
  Outcome Funcs(const TypeTail& tail, msft::TypeModel* t);
  Outcome Vars(const TypeTail& tail, msft::TypeModel* t);
  Outcome Impls(const TypeTail& tail, msft::TypeModel* t);
  // A type word: the word itself (`next` empty) or the first word of a
  // description in the member section, continued at `next`.
  Outcome Decode(uint16_t word, std::optional<size_t> next, int depth, TypeDesc* out);
  Outcome TypeOf(uint16_t word, bool isInline, ElemDesc* out);
  Outcome Word(size_t at, uint16_t* out) { return ReadAt(data_.Data(), at, out) ? Outcome::Read : Outcome::Damaged; }
  Outcome NameOf(uint16_t offset, TextView* out) {
    if (!library_.name(offset, &name_)) {
      place_ = "member name";
      return Outcome::Damaged;
    }
    *out = texts_->Keep(name_);
    return Outcome::Read;
  }

  ByteSpan block_;
  size_t fileOffset_;
  const LibraryContext& library_;
  ByteReader data_;  // the member section
  size_t dataOffset_ = 0;
  uint32_t referencesOffset_ = 0xFFFFFFFF;
  std::vector<HREFTYPE> refs_;
  msft::LibModel* lib_ = nullptr;  // where the functions' types and parameters are kept
  TextStore* texts_ = nullptr;  // the library's, where the members' texts are kept
  Text name_;
  std::vector<TextView> names_;
  const char* place_ = "type members";
};

Outcome TypeReader::Decode(uint16_t word, std::optional<size_t> next, int depth, TypeDesc* out) {
  if (depth > kMaxTypeDepth) return Outcome::Unknown;
  *out = TypeDesc{};
  const uint16_t vt = word & kTypeMask;
  const bool needsMore = vt == VT_PTR || vt == VT_USERDEFINED || vt == VT_SAFEARRAY || vt == VT_CARRAY;
  if (needsMore && !next) return Outcome::Unknown;
  uint16_t follow = 0;
  if (needsMore && Word(*next, &follow) != Outcome::Read) return Outcome::Damaged;
  TypeDesc inner;
  Outcome o = Outcome::Read;
  switch (vt) {
    case VT_PTR:
    case VT_SAFEARRAY: {
      // A pointer's target follows. An array's element follows the offset
      // of its array descriptor, which holds nothing the type needs.
      uint16_t elementWord = follow;
      size_t elementNext = *next + 2;
      if (vt == VT_SAFEARRAY) {
        if (Word(*next + 2, &elementWord) != Outcome::Read) return Outcome::Damaged;
        elementNext = *next + 4;
      }
      o = Decode(elementWord, elementNext, depth + 1, &inner);
      out->vt = vt;
      out->lptdesc = std::make_shared<const TypeDesc>(std::move(inner));
      break;
    }
    case VT_USERDEFINED:
      if ((follow >> 2) >= refs_.size()) return Outcome::Unknown;
      out->vt = vt;
      out->hreftype = refs_[follow >> 2];
      break;
    case VT_CARRAY: {
      ByteReader r = data_;
      ArrayHeader h;
      auto array = std::make_shared<ArrayDesc>();
      if (!r.Seek(follow) || !r.Read(&h) || h.dims == 0 || h.dims > r.Remaining() / sizeof(SafeArrayBound))
        return Outcome::Damaged;
      array->cDims = h.dims;
      array->rgbounds.resize(h.dims);
      for (SafeArrayBound& b : array->rgbounds)
        if (!r.Read(&b)) return Outcome::Damaged;
      uint16_t elementWord = 0;
      if (Word(*next + 2, &elementWord) != Outcome::Read) return Outcome::Damaged;
      o = Decode(elementWord, *next + 4, depth + 1, &array->tdescElem);
      out->vt = vt;
      out->lpadesc = std::move(array);
      break;
    }
    default:
      if (vt > VT_LPWSTR || vt == 15) return Outcome::Unknown;
      out->vt = vt;
      break;
  }
  if ((word & kPointerBits) == kPointerBits) {
    TypeDesc pointer;
    pointer.vt = VT_PTR;
    pointer.lptdesc = std::make_shared<const TypeDesc>(std::move(*out));
    *out = std::move(pointer);
  }
  return o;
}

Outcome TypeReader::TypeOf(uint16_t word, bool isInline, ElemDesc* out) {
  *out = ElemDesc{};
  uint16_t first = word;
  std::optional<size_t> next;
  if (!isInline) {
    if (Word(word, &first) != Outcome::Read) return Outcome::Damaged;
    next = size_t{word} + 2;
  }
  static constexpr uint16_t kDirection[] = {ParamFlag::In, ParamFlag::Out, ParamFlag::In | ParamFlag::Out, 0};
  out->paramdesc.wParamFlags = kDirection[first >> 14];
  if (first & kRetValBit) out->paramdesc.wParamFlags |= ParamFlag::RetVal;
  return Decode(first, next, 0, &out->tdesc);
}

Outcome TypeReader::References() {
  if (referencesOffset_ == 0xFFFFFFFF) return Outcome::Read;
  place_ = "type references";
  ByteReader r(block_);
  uint8_t magic = 0;
  uint32_t entriesLength = 0;
  uint8_t section[7];
  if (!r.Seek(referencesOffset_) || !r.Read(&magic) || magic != 0xDF || !r.Skip(0x43) || !r.Read(&entriesLength) ||
      !r.Skip(entriesLength) || !r.Read(&section))
    return Outcome::Damaged;
  for (uint32_t i = 0; i < entriesLength / 8; ++i) {
    uint16_t length = 0;
    ByteSpan text;
    HREFTYPE href = 0;
    if (!r.Read(&length) || !r.ReadBytes(length, &text)) return Outcome::Damaged;
    if (!library_.reference(text, &href)) return Outcome::Unknown;
    refs_.push_back(href);
  }
  return Outcome::Read;
}

Outcome TypeReader::Impls(const TypeTail& tail, msft::TypeModel* t) {
  uint16_t at = tail.firstImpl;
  for (unsigned i = 0; i < tail.implTypeCount; ++i) {
    ImplRecord rec;
    ElemDesc type;
    if (!ReadAt(data_.Data(), at, &rec)) return Outcome::Damaged;
    if (rec.magic != kImplMagic) return Outcome::Unknown;
    if (Outcome o = TypeOf(rec.type, false, &type); o != Outcome::Read) return o;
    if (type.tdesc.vt != VT_USERDEFINED) return Outcome::Unknown;
    t->implTypes.push_back({type.tdesc.hreftype, static_cast<uint32_t>(rec.flags & 0xFF)});
    at = rec.next;
  }
  return Outcome::Read;
}

Outcome TypeReader::Funcs(const TypeTail& tail, msft::TypeModel* t) {
  uint16_t at = tail.firstFunc;
  for (unsigned i = 0; i < tail.funcCount; ++i) {
    FuncRecord rec;
    if (!ReadAt(data_.Data(), at, &rec)) return Outcome::Damaged;
    msft::FuncModel f;
    FuncDesc d;
    switch (rec.magic) {
      case 0x4C: d.funckind = FUNC_PUREVIRTUAL; break;
      case 0x8B: d.funckind = FUNC_STATIC; break;
      case 0xCB: d.funckind = FUNC_DISPATCH; break;
      default: return Outcome::Unknown;
    }
    const unsigned invoke = rec.flags >> 4;
    if (invoke != INVOKE_FUNC && invoke != INVOKE_PROPERTYGET && invoke != INVOKE_PROPERTYPUT &&
        invoke != INVOKE_PROPERTYPUTREF)
      return Outcome::Unknown;
    d.invkind = static_cast<InvokeKind>(invoke);
    d.memid = static_cast<MEMBERID>(rec.memid);
    d.oVft = static_cast<int16_t>(rec.vtableOffset);
    d.cParams = static_cast<int16_t>(rec.argCount >> 3);
    const int optional = (rec.optionalCount & 0x7E) >> 1;
    d.cParamsOpt = static_cast<int16_t>(optional == 0x3F ? -1 : optional);
    names_.clear();
    if (Outcome o = NameOf(rec.name, &names_.emplace_back()); o != Outcome::Read) return o;
    if (Outcome o = TypeOf(rec.resultType, LooksInline(rec.resultType), &d.elemdescFunc); o != Outcome::Read)
      return o;
    bool named = true;
    for (int p = 0; p < d.cParams; ++p) {
      ArgRecord arg;
      if (!ReadAt(data_.Data(), size_t{rec.argsOffset} + 4 * static_cast<size_t>(p), &arg)) return Outcome::Damaged;
      ElemDesc param;
      if (Outcome o = TypeOf(arg.type, (arg.name & 1) != 0, &param); o != Outcome::Read) return o;
      if (d.cParamsOpt > 0 && p >= d.cParams - d.cParamsOpt) param.paramdesc.wParamFlags |= ParamFlag::Opt;
      d.lprgelemdescParam.push_back(std::move(param));
      if ((arg.name | 1) == kNone) named = false;
      if (!named) continue;
      if (Outcome o = NameOf(static_cast<uint16_t>(arg.name & ~1u), &names_.emplace_back()); o != Outcome::Read)
        return o;
    }
    f.names = texts_->Keep(names_);
    msft::AddFuncDesc(d, &lib_->memberTypes, &lib_->params, &f);
    t->funcByMemid.Add(d.memid, t->funcs.size());
    t->funcs.push_back(std::move(f));
    at = rec.next;
  }
  return Outcome::Read;
}

Outcome TypeReader::Vars(const TypeTail& tail, msft::TypeModel* t) {
  uint16_t at = tail.firstVar;
  for (unsigned i = 0; i < tail.varCount; ++i) {
    VarRecord rec;
    if (!ReadAt(data_.Data(), at, &rec)) return Outcome::Damaged;
    if (rec.magic != kVarMagic) return Outcome::Unknown;
    msft::VarModel v;
    VarDesc& d = v.desc;
    d.memid = static_cast<MEMBERID>(rec.memid);
    if (Outcome o = NameOf(rec.name, &v.name); o != Outcome::Read) return o;
    if (Outcome o = TypeOf(rec.type, (rec.flags & kVarTypeInline) != 0, &d.elemdescVar); o != Outcome::Read) return o;
    if (rec.flags & kVarConst) {
      d.varkind = VAR_CONST;
      const uint16_t vt = d.elemdescVar.tdesc.vt;
      uint64_t bits = 0;
      if (rec.flags & kVarValueInline) {
        bits = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int16_t>(rec.offset)));
      } else if (vt == VT_I8 || vt == VT_UI8 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE) {
        if (!ReadAt(data_.Data(), rec.offset, &bits)) return Outcome::Damaged;
      } else if (vt <= VT_UINT && vt != VT_BSTR && vt != VT_DISPATCH && vt != VT_VARIANT && vt != VT_UNKNOWN &&
                 vt != VT_DECIMAL) {
        uint32_t b = 0;
        if (!ReadAt(data_.Data(), rec.offset, &b)) return Outcome::Damaged;
        bits = b;
      } else {
        return Outcome::Unknown;
      }
      d.lpvarValue = std::make_shared<const Variant>(msft::VariantFromBits(vt, bits));
    } else {
      d.varkind = (rec.flags & kVarDispatch) ? VAR_DISPATCH : VAR_PERINSTANCE;
      if (rec.flags & kVarReadOnly) d.wVarFlags |= kVarFlagReadOnly;
      d.oInst = d.varkind == VAR_DISPATCH ? 0 : rec.offset;
    }
    t->varByMemid.Add(d.memid, t->vars.size());
    t->vars.push_back(std::move(v));
    at = rec.next;
  }
  return Outcome::Read;
}

Outcome TypeReader::Members(msft::LibModel* lib, msft::TypeModel* t, const TypeTail& tail) {
  Outcome o = References();
  if (o != Outcome::Read) return o;
  place_ = "type members";
  if ((o = Impls(tail, t)) != Outcome::Read || (o = Funcs(tail, t)) != Outcome::Read ||
      (o = Vars(tail, t)) != Outcome::Read)
    return o;
  if (t->kind == TKIND_ALIAS) {
    // The aliased type: the word itself, or where the word points when the
    // type needs more words.
    ElemDesc alias;
    if ((o = TypeOf(tail.aliasType, LooksInline(tail.aliasType), &alias)) != Outcome::Read) return o;
    t->aliasType = alias.tdesc;
  }
  if ((t->kind == TKIND_INTERFACE || t->kind == TKIND_DISPATCH) && !t->implTypes.empty()) {
    t->baseHref = static_cast<int32_t>(t->implTypes[0].href);
    if (t->kind == TKIND_DISPATCH && lib->dispatchHref == -1) lib->dispatchHref = t->baseHref;
    t->implTypes.clear();
  }
  t->funcByMemid.Seal();
  t->varByMemid.Seal();
  return Outcome::Read;
}

Expected<void> TypeReader::Run(msft::LibModel* lib, msft::TypeModel* t) {
  lib_ = lib;
  texts_ = &lib->texts;
  ByteReader r(block_);
  TypeHeader h;
  MembersHeader members;
  TypeTail tail;
  if (!r.Read(&h) || h.magic != kTypeMagic) return ReadFailure{Code::TypeInvDataRead, fileOffset_, "type block"};
  if (!r.Seek(h.membersOffset) || !r.Read(&members) || !r.SubReader(r.Offset(), members.length, &data_) ||
      !r.Skip(members.length) || !r.Read(&tail))
    return ReadFailure{Code::TypeInvDataRead, fileOffset_ + r.Offset(), "type members"};
  dataOffset_ = h.membersOffset + sizeof(MembersHeader);
  referencesOffset_ = h.referencesOffset;
  t->flags = static_cast<uint16_t>(h.flags >> 3);
  t->implTypeCount = tail.implTypeCount;
  t->instanceSize = tail.instanceSize;
  t->alignment = tail.alignment;
  t->vtableSize = tail.vtableSize;
  switch (Members(lib, t, tail)) {
    case Outcome::Read: return {};
    case Outcome::Damaged: return ReadFailure{Code::TypeInvDataRead, fileOffset_ + dataOffset_, place_};
    case Outcome::Unknown: break;
  }
  // Named, but not described.
  t->unreadable = Code::TypeUnsupFormat;
  t->funcs.clear();
  t->vars.clear();
  t->implTypes.clear();
  t->funcByMemid = msft::MemberIndex();
  t->varByMemid = msft::MemberIndex();
  t->baseHref = -1;
  return {};
}

}  // namespace

Expected<void> ReadTypeBlock(ByteSpan block, size_t fileOffset, const LibraryContext& library, msft::LibModel* lib,
                             msft::TypeModel* type) {
  return TypeReader(block, fileOffset, library).Run(lib, type);
}

}  // namespace brannock::typelib::sltg
