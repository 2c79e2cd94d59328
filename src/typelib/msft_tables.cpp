#include "typelib/msft_tables.h"

#include <bit>

#include "common/windows1252.h"

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

// An entry of the name or string table: its record, then as many 8-bit
// characters as the record's length says. Empty for offset -1.
template <typename Entry, typename LengthOf>
bool ReadCountedBytes(ByteReader r, int32_t offset, LengthOf lengthOf, ByteSpan* chars) {
  *chars = {};
  if (offset < 0) return true;
  Entry e;
  return r.Seek(static_cast<size_t>(offset)) && r.Read(&e) && r.ReadBytes(lengthOf(e), chars);
}

size_t NameLength(const NameEntry& e) { return e.lengthAndHash & 0xFF; }
size_t StringLength(const StringEntry& e) { return e.length; }

bool Decode(ByteSpan chars, Text* out) {
  out->clear();
  AppendWindows1252(chars, out);
  return true;
}

bool Decode(ByteSpan chars, TextStore& store, TextView* out) {
  char16_t* units = store.Units(chars.size());
  DecodeWindows1252(chars, units);
  *out = TextView(units, chars.size());
  return true;
}

// The bytes of a constant of the custom data segment after its type word.
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

}  // namespace

bool Tables::ReadSegments(size_t directoryOffset) {
  ByteReader r(file_);
  if (!r.Seek(directoryOffset)) return Fail(directoryOffset, "segment directory");
  for (size_t k = 0; k < segments_.size(); ++k) {
    const size_t entryOffset = r.Offset();
    SegmentEntry e;
    if (!r.Read(&e)) return Fail(entryOffset, "segment directory");
    if (e.offset < 0 || e.length <= 0) {
      segments_[k] = ByteReader();
      continue;
    }
    if (!ByteReader(file_).SubReader(static_cast<size_t>(e.offset), static_cast<size_t>(e.length), &segments_[k]))
      return Fail(entryOffset, "segment directory entry");
    segmentStart_[k] = static_cast<size_t>(e.offset);
  }
  return true;
}

bool Tables::Name(int32_t offset, Text* out) {
  ByteSpan chars;
  return (ReadCountedBytes<NameEntry>(segments_[kNameSegment], offset, NameLength, &chars) && Decode(chars, out)) ||
         Fail(At(kNameSegment, offset), "name table entry");
}

bool Tables::String(int32_t offset, Text* out) {
  ByteSpan chars;
  return (ReadCountedBytes<StringEntry>(segments_[kStringSegment], offset, StringLength, &chars) &&
          Decode(chars, out)) ||
         Fail(At(kStringSegment, offset), "string table entry");
}

bool Tables::Name(int32_t offset, TextView* out) {
  ByteSpan chars;
  return (ReadCountedBytes<NameEntry>(segments_[kNameSegment], offset, NameLength, &chars) &&
          Decode(chars, *texts_, out)) ||
         Fail(At(kNameSegment, offset), "name table entry");
}

bool Tables::String(int32_t offset, TextView* out) {
  ByteSpan chars;
  return (ReadCountedBytes<StringEntry>(segments_[kStringSegment], offset, StringLength, &chars) &&
          Decode(chars, *texts_, out)) ||
         Fail(At(kStringSegment, offset), "string table entry");
}

bool Tables::GuidAt(int32_t offset, Guid* out) {
  *out = Guid{};
  if (offset < 0) return true;
  GuidEntry e;
  if (!ReadAt(segments_[kGuidSegment].Data(), static_cast<size_t>(offset), &e))
    return Fail(At(kGuidSegment, offset), "GUID table entry");
  *out = GuidFromBytes(e.guid);
  return true;
}

bool Tables::DataType(int32_t dataType, int depth, TypeDesc* out) {
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
  if (!ReadAt(segments_[kTypeDescSegment].Data(), static_cast<size_t>(dataType), &e))
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

bool Tables::MemberType(int32_t dataType, TypeTable* types, TypeId* out) {
  if (auto known = memberTypeIds_.find(dataType); known != memberTypeIds_.end()) {
    *out = known->second;
    return true;
  }
  TypeDesc desc;
  if (!DataType(dataType, &desc)) return false;
  *out = types->Add(desc);
  memberTypeIds_.emplace(dataType, *out);
  return true;
}

bool Tables::ArrayType(int32_t offset, int depth, std::shared_ptr<const ArrayDesc>* out) {
  const size_t where = At(kArrayDescSegment, offset);
  if (offset < 0) return Fail(where, "array descriptor");
  ByteReader r = segments_[kArrayDescSegment];
  ArrayDescHeader h;
  if (!r.Seek(static_cast<size_t>(offset)) || !r.Read(&h)) return Fail(where, "array descriptor");
  auto array = std::make_shared<ArrayDesc>();
  array->cDims = h.dimensionCount;
  if (static_cast<size_t>(h.dimensionCount) * sizeof(ArrayBound) > r.Remaining()) return Fail(where, "array bounds");
  array->rgbounds.resize(h.dimensionCount);
  for (auto& bound : array->rgbounds) {
    ArrayBound b;
    if (!r.Read(&b)) return Fail(where, "array bounds");
    bound.cElements = b.elementCount;
    bound.lLbound = b.lowerBound;
  }
  if (!DataType(h.elementType, depth + 1, &array->tdescElem)) return false;
  *out = std::move(array);
  return true;
}

bool Tables::Value(int32_t encoded, Variant* out) {
  if (IsEmbeddedValue(encoded)) {
    *out = VariantFromBits(EmbeddedValueType(encoded), EmbeddedValueBits(encoded));
    return true;
  }
  const size_t where = At(kCustomDataSegment, encoded);
  ByteReader r = segments_[kCustomDataSegment];
  CustomValueHeader h;
  if (!r.Seek(static_cast<size_t>(encoded)) || !r.Read(&h)) return Fail(where, "constant value");
  if (h.vt == VT_BSTR) {
    int32_t length;
    ByteSpan chars;
    if (!r.Read(&length) || (length > 0 && !r.ReadBytes(static_cast<size_t>(length), &chars)))
      return Fail(where, "constant value");
    *out = Variant::Str(Windows1252ToText(chars));
    return true;
  }
  if (h.vt == VT_DECIMAL) {
    Variant v;
    v.vt = VT_DECIMAL;
    if (!r.Read(&v.decimal)) return Fail(where, "constant value");
    *out = v;
    return true;
  }
  const size_t size = ValueSize(h.vt);
  uint64_t bits = 0;
  if (size == 4) {
    uint32_t b;
    if (!r.Read(&b)) return Fail(where, "constant value");
    bits = b;
  } else if (size == 8) {
    if (!r.Read(&bits)) return Fail(where, "constant value");
  }
  *out = VariantFromBits(h.vt, bits);
  return true;
}

}  // namespace brannock::typelib::msft
