// The on-disk records of an MSFT type library (the format that
// ICreateTypeLib2 writes). All integers are little-endian; offsets named
// "offset in X" are byte offsets into segment X of the segment directory,
// -1 meaning "none".
#pragma once

#include <cstdint>

namespace brannock::typelib::msft {

constexpr uint32_t kMagic = 0x5446534D;  // "MSFT"
constexpr uint32_t kFormatVersion = 0x00010002;
constexpr uint32_t kHelpDllFlag = 0x0100;  // header.varflags: a help DLL offset follows the header

#pragma pack(push, 1)

struct Header {
  uint32_t magic;             // kMagic
  uint32_t formatVersion;     // kFormatVersion
  int32_t guidOffset;         // library GUID, offset in the GUID table
  uint32_t lcid;
  uint32_t lcid2;
  uint32_t varflags;          // low nibble: SYSKIND; 0x100: help DLL present
  uint32_t version;           // major in the low word, minor in the high word
  uint32_t flags;             // LIBFLAGS
  int32_t typeInfoCount;
  int32_t helpStringOffset;   // offset in the string table
  uint32_t helpStringContext;
  uint32_t helpContext;
  int32_t nameTableCount;
  int32_t nameTableChars;
  int32_t nameOffset;         // library name, offset in the name table
  int32_t helpFileOffset;     // offset in the string table
  int32_t customDataOffset;   // offset in the custom data GUID table
  int32_t reserved44;
  int32_t reserved48;
  int32_t dispatchHref;       // href of IDispatch, -1 when not referenced
  int32_t importInfoCount;
};
static_assert(sizeof(Header) == 0x54);

// Segment directory: fixed order of the segments that follow the type info
// offsets.
enum Segment : int {
  kTypeInfoSegment = 0,
  kImportInfoSegment,
  kImportFileSegment,
  kRefTableSegment,
  kGuidHashSegment,
  kGuidSegment,
  kNameHashSegment,
  kNameSegment,
  kStringSegment,
  kTypeDescSegment,
  kArrayDescSegment,
  kCustomDataSegment,
  kCustomDataGuidSegment,
  kReserved13Segment,
  kReserved14Segment,
  kSegmentCount
};

struct SegmentEntry {
  int32_t offset;  // file offset, -1 when the segment is absent
  int32_t length;
  int32_t reserved08;
  int32_t reserved0c;
};
static_assert(sizeof(SegmentEntry) == 16);

struct TypeInfoBase {
  uint32_t typekind;          // bits 0-3 TYPEKIND, bits 11-15 alignment
  int32_t memberOffset;       // file offset of the member block, -1 when none
  int32_t reserved08;
  int32_t reserved0c;
  int32_t reserved10;
  int32_t reserved14;
  uint32_t elementCounts;     // functions in the low word, variables in the high word
  int32_t reserved1c;
  int32_t reserved20;
  int32_t reserved24;
  int32_t reserved28;
  int32_t guidOffset;         // offset in the GUID table, -1 when none
  uint32_t flags;             // TYPEFLAGS
  int32_t nameOffset;         // offset in the name table
  uint32_t version;           // major in the low word, minor in the high word
  int32_t docStringOffset;    // offset in the string table
  uint32_t helpStringContext;
  uint32_t helpContext;
  int32_t customDataOffset;
  uint16_t implTypeCount;
  uint16_t vtableSize;        // cbSizeVft
  uint32_t instanceSize;      // cbSizeInstance
  int32_t datatype1;          // base href (interface), ref table offset (coclass),
                              // alias type, DLL name string (module)
  int32_t datatype2;          // interface: inherited function count << 16 | depth
  int32_t reserved5c;
  int32_t reserved60;
};
static_assert(sizeof(TypeInfoBase) == 0x64);

// Function record; optional fields follow it while the record size allows,
// then the default value offsets (when kFuncHasDefaults), then one
// ParameterInfo per argument at the record's end.
struct FuncRecord {
  uint16_t recordSize;
  uint16_t index;
  int32_t returnType;         // data type (see DecodeDataType)
  uint32_t funcFlags;         // FUNCFLAGS in the low word
  int16_t vtableOffset;
  uint16_t funcDescSize;
  uint32_t kinds;             // FKCCIC: see kFunc* below
  uint16_t paramCount;
  uint16_t optionalParamCount;
};
static_assert(sizeof(FuncRecord) == 24);

constexpr uint32_t kFuncKindMask = 0x7;
constexpr int kInvokeKindShift = 3;
constexpr uint32_t kInvokeKindMask = 0xF;
constexpr int kCallConvShift = 8;
constexpr uint32_t kCallConvMask = 0xF;
constexpr uint32_t kFuncHasDefaults = 0x1000;
constexpr uint32_t kFuncEntryIsOrdinal = 0x2000;  // the entry field holds a number, not a string offset

// Optional fields of a function record, in order.
enum FuncOptional : int {
  kFuncHelpContext = 0,
  kFuncHelpString,
  kFuncEntry,
  kFuncReserved3,
  kFuncReserved4,
  kFuncHelpStringContext,
  kFuncCustomData,
  kFuncOptionalCount
};

struct ParameterInfo {
  int32_t dataType;
  int32_t nameOffset;         // offset in the name table, -1 when unnamed
  uint32_t flags;             // PARAMFLAGS
};
static_assert(sizeof(ParameterInfo) == 12);

// Variable record; optional fields follow while the record size allows.
struct VarRecord {
  uint16_t recordSize;
  uint16_t index;
  int32_t dataType;
  uint32_t varFlags;          // VARFLAGS in the low word
  uint16_t varKind;
  uint16_t varDescSize;
  int32_t value;              // constant (encoded value) or instance offset
};
static_assert(sizeof(VarRecord) == 20);

enum VarOptional : int {
  kVarHelpContext = 0,
  kVarHelpString,
  kVarReserved2,
  kVarCustomData,
  kVarHelpStringContext,
  kVarOptionalCount
};

struct ImportInfo {
  uint32_t flags;             // bits 24-27: TYPEKIND; kImportByGuid
  int32_t importFileOffset;   // offset in the import file table
  int32_t typeRef;            // offset in the GUID table, or the type's index
};
static_assert(sizeof(ImportInfo) == 12);
constexpr uint32_t kImportByGuid = 0x00010000;

struct ImportFile {
  int32_t guidOffset;         // library GUID, offset in the GUID table
  uint32_t lcid;
  uint32_t version;           // major in the low word, minor in the high word
  uint16_t nameSize;          // name length << 2, low bits flags; the name follows
};
static_assert(sizeof(ImportFile) == 14);

struct RefRecord {
  int32_t href;
  uint32_t implTypeFlags;     // IMPLTYPEFLAGS
  int32_t customDataOffset;
  int32_t next;               // offset of the next record in the ref table, -1 at the end
};
static_assert(sizeof(RefRecord) == 16);

struct GuidEntry {
  uint8_t guid[16];
  int32_t href;
  int32_t nextHash;
};
static_assert(sizeof(GuidEntry) == 24);

struct NameEntry {
  int32_t href;
  int32_t nextHash;
  uint32_t lengthAndHash;     // low byte: length in bytes; the 8-bit name follows
};
static_assert(sizeof(NameEntry) == 12);

struct StringEntry {
  uint16_t length;            // bytes; the 8-bit text follows
};
static_assert(sizeof(StringEntry) == 2);

struct TypeDescEntry {
  uint16_t vt;
  uint16_t flags;
  int32_t value;              // element data type (VT_PTR, VT_SAFEARRAY), array
                              // descriptor offset (VT_CARRAY) or href (VT_USERDEFINED)
};
static_assert(sizeof(TypeDescEntry) == 8);

struct ArrayDescHeader {
  int32_t elementType;        // data type of the element
  uint16_t dimensionCount;
  uint16_t reserved;
};
static_assert(sizeof(ArrayDescHeader) == 8);

struct ArrayBound {
  uint32_t elementCount;
  int32_t lowerBound;
};
static_assert(sizeof(ArrayBound) == 8);

// A value in the custom data segment: the variant type, then its data.
struct CustomValueHeader {
  uint16_t vt;
};
static_assert(sizeof(CustomValueHeader) == 2);

struct CustomDataGuid {
  int32_t guidOffset;
  int32_t dataOffset;
  int32_t next;
};
static_assert(sizeof(CustomDataGuid) == 12);

#pragma pack(pop)

// Data types in records: negative values carry a base VARTYPE in the low
// word; others are offsets in the type descriptor segment.
constexpr bool IsEmbeddedType(int32_t dataType) { return dataType < 0; }
constexpr uint16_t EmbeddedVarType(int32_t dataType) {
  return static_cast<uint16_t>(static_cast<uint32_t>(dataType) & 0xFFFF);
}

// Constant values and defaults: with the top bit set the value is held in
// the field itself (VARTYPE in bits 26-30, value in bits 0-25); otherwise
// the field is an offset in the custom data segment.
constexpr bool IsEmbeddedValue(int32_t value) { return value < 0; }
constexpr uint16_t EmbeddedValueType(int32_t value) {
  return static_cast<uint16_t>((static_cast<uint32_t>(value) >> 26) & 0x1F);
}
constexpr uint32_t EmbeddedValueBits(int32_t value) { return static_cast<uint32_t>(value) & 0x03FFFFFF; }

}  // namespace brannock::typelib::msft
