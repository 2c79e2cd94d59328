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
  void Add(MEMBERID memid, size_t position) { keys_.push_back(Key(memid) | static_cast<uint32_t>(position)); }
  // After all Add calls; a repeated id keeps its first position.
  void Seal() {
    // One number per entry, the id above the position: positions are
    // unique, so the first of equal ids comes first without a stable sort.
    // Most members come in order; a dispatch view lists its inherited
    // functions (ids 0x60000000 and up) before its own: two runs, merged.
    const auto split = std::is_sorted_until(keys_.begin(), keys_.end());
    if (split == keys_.end()) return;
    if (std::is_sorted(split, keys_.end()))
      std::inplace_merge(keys_.begin(), split, keys_.end());
    else
      std::sort(keys_.begin(), keys_.end());
  }
  std::optional<size_t> Find(MEMBERID memid) const {
    const uint64_t key = Key(memid);
    auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (at == keys_.end() || (*at & ~kPositions) != key) return std::nullopt;
    return static_cast<size_t>(*at & kPositions);
  }

 private:
  static constexpr uint64_t kPositions = 0xFFFFFFFFu;
  // Ids in their signed order, in the upper half.
  static uint64_t Key(MEMBERID memid) { return uint64_t{static_cast<uint32_t>(memid) ^ 0x80000000u} << 32; }

  std::vector<uint64_t> keys_;
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
