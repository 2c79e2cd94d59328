// The MSFT library as a whole: the header, the offsets of the type info
// records, the library's attributes, the tables of imported libraries and
// types, and each type info record. What the records point into is read by
// msft_tables.cpp, the member blocks by msft_members.cpp.
#include <map>

#include "common/windows1252.h"
#include "typelib/msft_members.h"
#include "typelib/msft_tables.h"

namespace brannock::typelib::msft {

namespace {

class Parser {
 public:
  Parser(ByteSpan file, TextStore* texts) : file_(file), tables_(file, texts) {}

  Expected<void> Run(LibModel* lib);

 private:
  bool ImportTables(LibModel* lib);
  bool Type(size_t index, int32_t offset, LibModel* lib);

  ByteSpan file_;
  Tables tables_;
};

// The import info records (one per imported type, by GUID or by index),
// each naming its library's entry of the import file table.
bool Parser::ImportTables(LibModel* lib) {
  std::map<int32_t, size_t> libraryByOffset;
  ByteReader infos = tables_.SegmentData(kImportInfoSegment);
  while (infos.Remaining() >= sizeof(ImportInfo)) {
    const auto infoOffset = static_cast<HREFTYPE>(infos.Offset());
    ImportInfo info;
    if (!infos.Read(&info)) return tables_.Fail(tables_.At(kImportInfoSegment, infoOffset), "import info");
    auto known = libraryByOffset.find(info.importFileOffset);
    size_t libraryIndex;
    if (known != libraryByOffset.end()) {
      libraryIndex = known->second;
    } else {
      ByteReader r = tables_.SegmentData(kImportFileSegment);
      ImportFile f;
      ByteSpan chars;
      if (info.importFileOffset < 0 || !r.Seek(static_cast<size_t>(info.importFileOffset)) || !r.Read(&f) ||
          !r.ReadBytes(f.nameSize >> 2, &chars))
        return tables_.Fail(tables_.At(kImportFileSegment, info.importFileOffset), "import file");
      ImportedLibrary imported;
      if (!tables_.GuidAt(f.guidOffset, &imported.libid)) return false;
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
      if (!tables_.GuidAt(info.typeRef, &type.guid)) return false;
    } else {
      type.index = static_cast<uint32_t>(info.typeRef);
    }
    lib->importedTypes.emplace(infoOffset | 1, type);
  }
  return true;
}

bool Parser::Type(size_t index, int32_t offset, LibModel* lib) {
  const size_t where = tables_.At(kTypeInfoSegment, offset);
  tables_.SetCurrentRecord(where);
  TypeInfoBase base;
  if (offset < 0 || !ReadAt(tables_.SegmentData(kTypeInfoSegment).Data(), static_cast<size_t>(offset), &base))
    return tables_.Fail(where, "type info record");
  TypeModel& t = lib->types[index];
  t.href = static_cast<HREFTYPE>(offset);
  const uint32_t kind = base.typekind & 0xF;
  if (kind > TKIND_UNION) return tables_.Fail(where, "type info record (type kind)");
  t.kind = static_cast<TypeKind>(kind);
  t.alignment = static_cast<uint16_t>((base.typekind >> 11) & 0x1F);
  t.flags = static_cast<uint16_t>(base.flags);
  t.majorVersion = static_cast<uint16_t>(base.version & 0xFFFF);
  t.minorVersion = static_cast<uint16_t>(base.version >> 16);
  t.instanceSize = base.instanceSize;
  t.vtableSize = base.vtableSize;
  t.implTypeCount = base.implTypeCount;
  t.helpContext = base.helpContext;
  if (!tables_.GuidAt(base.guidOffset, &t.guid) || !tables_.Name(base.nameOffset, &t.name) ||
      !tables_.String(base.docStringOffset, &t.docString))
    return false;
  switch (t.kind) {
    case TKIND_ALIAS:
      if (!tables_.DataType(base.datatype1, &t.aliasType)) return false;
      break;
    case TKIND_MODULE:
      if (!tables_.String(base.datatype1, &t.dllName)) return false;
      break;
    case TKIND_INTERFACE:
    case TKIND_DISPATCH:
      t.baseHref = base.datatype1;
      break;
    case TKIND_COCLASS: {
      int32_t next = base.datatype1;
      for (size_t i = 0; i < t.implTypeCount; ++i) {
        RefRecord ref;
        if (next < 0 || !ReadAt(tables_.SegmentData(kRefTableSegment).Data(), static_cast<size_t>(next), &ref))
          return tables_.Fail(tables_.At(kRefTableSegment, next), "implemented type reference");
        t.implTypes.push_back({static_cast<HREFTYPE>(ref.href), ref.implTypeFlags});
        next = ref.next;
      }
      break;
    }
    default:
      break;
  }
  return ReadMembers(tables_, base, lib, &t);
}

Expected<void> Parser::Run(LibModel* lib) {
  ByteReader r(file_);
  Header h;
  if (!IsMsftTypeLib(file_)) return ReadFailure{Code::TypeCantLoadLibrary, 0, "header (no MSFT signature)"};
  if (!r.Read(&h)) return ReadFailure{Code::TypeInvDataRead, 0, "header"};
  if ((h.varflags & kHelpDllFlag) != 0 && !r.Skip(4))
    return ReadFailure{Code::TypeInvDataRead, r.Offset(), "header (help DLL)"};
  if (h.typeInfoCount < 0 || static_cast<size_t>(h.typeInfoCount) > r.Remaining() / 4)
    return ReadFailure{Code::TypeInvDataRead, r.Offset(), "type info offsets"};
  std::vector<int32_t> typeOffsets(static_cast<size_t>(h.typeInfoCount));
  for (auto& o : typeOffsets)
    if (!r.Read(&o)) return ReadFailure{Code::TypeInvDataRead, r.Offset(), "type info offsets"};
  if (!tables_.ReadSegments(r.Offset())) return tables_.Failure();

  lib->lcid = h.lcid;
  lib->typeLcid = h.lcid2;
  lib->syskind = h.varflags & 0xF;
  lib->libFlags = static_cast<uint16_t>(h.flags);
  lib->majorVersion = static_cast<uint16_t>(h.version & 0xFFFF);
  lib->minorVersion = static_cast<uint16_t>(h.version >> 16);
  lib->helpContext = h.helpContext;
  lib->dispatchHref = h.dispatchHref;
  if (!tables_.GuidAt(h.guidOffset, &lib->libid) || !tables_.Name(h.nameOffset, &lib->name) ||
      !tables_.String(h.helpStringOffset, &lib->docString) || !tables_.String(h.helpFileOffset, &lib->helpFile) ||
      !ImportTables(lib))
    return tables_.Failure();

  lib->types.resize(typeOffsets.size());
  for (size_t i = 0; i < typeOffsets.size(); ++i) {
    if (!Type(i, typeOffsets[i], lib)) return tables_.Failure();
    lib->typeByHref.emplace(lib->types[i].href, i);
  }
  return {};
}

}  // namespace

bool IsMsftTypeLib(ByteSpan file) {
  uint32_t magic = 0;
  return ReadAt(file, 0, &magic) && magic == kMagic;
}

Expected<void> ParseMsftTypeLib(ByteSpan file, LibModel* out) {
  *out = LibModel{};
  Parser parser(file, &out->texts);
  Expected<void> parsed = parser.Run(out);
  if (!parsed) *out = LibModel{};
  return parsed;
}

}  // namespace brannock::typelib::msft
