// Internals of the SLTG parser: the records of a type block and the reader
// of its members. A type block holds, after its header, the references of
// the type (a table of "*\R<library>*#<type>" texts), then the member
// section: implemented types, functions and variables as records chained
// by the offsets of their successors, with the types of parameters and
// variables either in the record's own 16-bit word or in words the record
// points to. A fixed tail follows with the counts, the first record of
// each chain, the size and alignment, an alias's type and the vtable size.
#pragma once

#include <functional>

#include "typelib/msft_model.h"
#include "typelib/read_error.h"

namespace brannock::typelib::sltg {

#pragma pack(push, 1)
struct TypeHeader {
  uint16_t magic;
  uint32_t referencesOffset;  // 0xFFFFFFFF: none
  uint32_t reserved06;
  uint32_t membersOffset;
  uint32_t reserved0e;
  uint8_t reserved12[8];
  uint16_t flags;  // TYPEFLAGS << 3
  uint8_t reserved1c;
  uint8_t kind;
};
struct MembersHeader {
  uint8_t reserved[4];
  uint8_t kind;
  uint32_t length;
};
struct TypeTail {
  uint16_t funcCount;
  uint16_t varCount;
  uint16_t implTypeCount;
  uint16_t reserved06;
  uint16_t firstFunc;  // offsets in the member section; 0xFFFF: none
  uint16_t firstVar;
  uint16_t firstImpl;
  uint8_t reserved0e[6];
  uint16_t aliasType;
  uint8_t reserved16[10];
  uint16_t instanceSize;
  uint16_t alignment;
  uint8_t reserved24[4];
  uint16_t vtableSize;
  uint8_t reserved2a[12];
};
#pragma pack(pop)
static_assert(sizeof(TypeHeader) == 0x1E && sizeof(MembersHeader) == 9 && sizeof(TypeTail) == 0x36);

constexpr uint16_t kTypeMagic = 0x0501;
constexpr uint16_t kNone = 0xFFFF;

// What a type block's reader needs of its library.
struct LibraryContext {
  // A name of the name table; false when it lies outside.
  std::function<bool(uint16_t offset, Text* out)> name;
  // The href of a reference text ("*\Rffff*#3": type 3 of this library;
  // "*\R5f0*#3": type 3 of the library the name table describes at 0x5F0).
  std::function<bool(ByteSpan text, HREFTYPE* href)> reference;
};

// Reads one type block (`block` starts at `fileOffset` in the file) into
// `type`: its attributes, implemented types and members. A record this
// reader does not know leaves the type unreadable (TYPE_E_UNSUPFORMAT)
// rather than described wrongly; bytes outside the block fail the library.
Expected<void> ReadTypeBlock(ByteSpan block, size_t fileOffset, const LibraryContext& library, msft::LibModel* lib,
                             msft::TypeModel* type);

}  // namespace brannock::typelib::sltg
