// What the MSFT reader keeps of a library after parsing: the library's own
// attributes and every type with its members, already in the form of the
// access layer's records. Built once by ParseMsftTypeLib; read-only after.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "typelib/access.h"
#include "typelib/byte_reader.h"
#include "typelib/msft_functions.h"
#include "typelib/read_error.h"
#include "typelib/text_store.h"

namespace brannock::typelib::msft {

// Member ids to the position of the first member that carries each: a
// sorted table, built once.
class MemberIndex {
 public:
  void Add(MEMBERID memid, size_t position) { entries_.push_back({memid, static_cast<uint32_t>(position)}); }
  // After all Add calls; a repeated id keeps its first position.
  void Seal() {
    // Positions are unique, so ordering by them among equal ids keeps the
    // first one first without a stable sort; most members come in order.
    auto less = [](const Entry& a, const Entry& b) {
      return a.memid < b.memid || (a.memid == b.memid && a.position < b.position);
    };
    // A dispatch view lists its inherited functions (ids 0x60000000 and
    // up) before its own: two runs in order, merged.
    const auto split = std::is_sorted_until(entries_.begin(), entries_.end(), less);
    if (split == entries_.end()) return;
    if (std::is_sorted(split, entries_.end(), less))
      std::inplace_merge(entries_.begin(), split, entries_.end(), less);
    else
      std::sort(entries_.begin(), entries_.end(), less);
  }
  std::optional<size_t> Find(MEMBERID memid) const {
    auto at = std::lower_bound(entries_.begin(), entries_.end(), memid,
                               [](const Entry& e, MEMBERID id) { return e.memid < id; });
    if (at == entries_.end() || at->memid != memid) return std::nullopt;
    return at->position;
  }

 private:
  struct Entry {
    MEMBERID memid;
    uint32_t position;
  };
  std::vector<Entry> entries_;
};

// A variable's texts are views of its library's text store (LibModel::texts).
struct VarModel {
  VarDesc desc;
  TextView name;
  TextView docString;
  uint32_t helpContext = 0;
};

struct ImplRef {
  HREFTYPE href = 0;
  uint32_t flags = 0;
};

struct TypeModel {
  HREFTYPE href = 0;  // its own href: the offset of its record in the type info segment
  TypeKind kind = TKIND_ENUM;
  Guid guid;
  uint16_t flags = 0;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;
  uint32_t instanceSize = 0;
  uint16_t alignment = 0;
  uint16_t vtableSize = 0;
  uint16_t implTypeCount = 0;
  // Set when the reader can name the type but not describe it: every call
  // that would describe it fails with this code.
  HRESULT unreadable = S_OK_;
  Text name;
  Text docString;
  uint32_t helpContext = 0;
  TypeDesc aliasType;           // TKIND_ALIAS
  Text dllName;                 // TKIND_MODULE
  int32_t baseHref = -1;        // TKIND_INTERFACE and TKIND_DISPATCH
  std::vector<ImplRef> implTypes;  // TKIND_COCLASS
  std::vector<FuncModel> funcs;
  std::vector<VarModel> vars;
  MemberIndex funcByMemid;
  MemberIndex varByMemid;

  bool IsDual() const { return kind == TKIND_DISPATCH && (flags & TypeFlag::Dual) != 0; }
  // A dispinterface declared by an interface ("dispinterface D { interface
  // I; }"): no members of its own, and I, not IDispatch, as its base.
  bool IsDeclaredByInterface(int32_t dispatchHref) const {
    return kind == TKIND_DISPATCH && !IsDual() && funcs.empty() && vars.empty() && implTypeCount > 0 &&
           baseHref != -1 && baseHref != dispatchHref;
  }
};

struct ImportedLibrary {
  Guid libid;
  uint32_t lcid = 0;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;
  Text fileName;
};

// A type of another library, by GUID or by its index there.
struct ImportedType {
  size_t library = 0;  // index in LibModel::imports
  bool byGuid = false;
  Guid guid;
  uint32_t index = 0;
};

struct LibModel {
  Guid libid;
  uint32_t lcid = 0;
  uint32_t typeLcid = 0;  // the locale the types report (the header's second locale)
  uint32_t syskind = 0;
  uint16_t libFlags = 0;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;
  Text name;
  Text docString;
  Text helpFile;
  uint32_t helpContext = 0;
  int32_t dispatchHref = -1;
  std::vector<TypeModel> types;
  std::unordered_map<HREFTYPE, size_t> typeByHref;
  std::vector<ImportedLibrary> imports;
  std::unordered_map<HREFTYPE, ImportedType> importedTypes;  // by import info offset
  TextStore texts;  // the members' texts
  TypeTable memberTypes;  // the functions' result and parameter types
  ParamList params;  // the parameters of the types' functions

  unsigned PointerSize() const { return syskind == 3 ? 8 : 4; }  // SYS_WIN64
};

// Parses a whole MSFT library. Fails with TYPE_E_CANTLOADLIBRARY when the
// bytes are not an MSFT library and TYPE_E_INVDATAREAD when a structure
// lies outside the file or contradicts itself; the error says which record
// failed and where.
Expected<void> ParseMsftTypeLib(ByteSpan file, LibModel* out);

bool IsMsftTypeLib(ByteSpan file);

// A constant of type `vt` from the bits it is stored in.
Variant VariantFromBits(uint16_t vt, uint64_t bits);

}  // namespace brannock::typelib::msft
