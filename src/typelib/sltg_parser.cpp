#include "typelib/sltg_parser.h"

#include <cstring>
#include <string_view>

namespace brannock::typelib::sltg {
namespace {

#pragma pack(push, 1)
struct FileHeader {
  char magic[4];
  uint16_t blockCount;
  uint16_t reserved06;
  uint16_t blockNamesLength;
  uint16_t firstBlock;
  uint8_t guid[16];
};
struct BlockEntry {
  uint32_t length;
  uint16_t nameOffset;  // in the block names
  uint16_t next;        // the directory index of the next block
};
// The library's attributes after its texts, in the library block.
struct LibraryAttributes {
  uint32_t helpContext;
  uint16_t syskind;
  uint16_t lcid;
  uint16_t reserved[2];
  uint16_t libFlags;
  uint16_t majorVersion;
  uint16_t minorVersion;
  uint8_t guid[16];
  uint16_t typeHash[32];
  uint16_t typeCount;
};
// A section of the library block: a header, then `length` bytes.
struct SectionHeader {
  uint16_t reserved;
  uint8_t kind;
  uint32_t length;
};
struct TypeHeader {
  uint16_t magic;
  uint32_t referencesOffset;
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
// Follows the member records.
struct TypeTail {
  uint16_t funcCount;
  uint16_t varCount;
  uint16_t implTypeCount;
  uint8_t reserved06[26];
  uint16_t instanceSize;
  uint16_t alignment;
  uint8_t reserved24[4];
  uint16_t vtableSize;
  uint8_t reserved2a[12];
};
#pragma pack(pop)
static_assert(sizeof(FileHeader) == 0x1C && sizeof(BlockEntry) == 8 && sizeof(TypeHeader) == 0x1E &&
              sizeof(MembersHeader) == 9 && sizeof(TypeTail) == 0x36 && sizeof(SectionHeader) == 7);

constexpr uint16_t kLibraryMagic = 0x51CC;
constexpr uint16_t kTypeMagic = 0x0501;
constexpr uint16_t kNoText = 0xFFFF;
// Between the block names and the first block.
constexpr size_t kBlockNamesPadding = 9;
// Before each name in the name table.
constexpr size_t kNameEntryPrefix = 8;

struct Block {
  std::string_view name;
  ByteReader bytes;
  size_t offset = 0;  // in the file
};

class Parser {
 public:
  explicit Parser(ByteSpan file) : file_(file) {}
  Expected<void> Run(msft::LibModel* lib);

 private:
  ReadFailure Damaged(size_t offset, const char* record) const {
    return ReadFailure{Code::TypeInvDataRead, offset, record};
  }
  Expected<void> ReadBlocks();
  Expected<void> ReadLibrary(msft::LibModel* lib);
  Expected<void> ReadType(size_t index, const Block& block, msft::TypeModel* type);
  // A text with a 16-bit length before it (0xFFFF: none).
  bool CountedText(ByteReader& r, ByteSpan* out) const;
  bool Name(uint16_t offset, Text* out) const;
  const Block* FindBlock(ByteSpan name) const;

  ByteSpan file_;
  std::vector<Block> blocks_;
  size_t libraryOffset_ = 0;
  ByteReader names_;
};

bool Parser::CountedText(ByteReader& r, ByteSpan* out) const {
  uint16_t length = 0;
  *out = ByteSpan();
  if (r.Read(&length) != ReadError::None) return false;
  return length == kNoText || r.ReadBytes(length, out) == ReadError::None;
}

bool Parser::Name(uint16_t offset, Text* out) const {
  out->clear();
  if (offset == kNoText) return true;
  ByteReader r = names_;
  ByteSpan rest;
  if (r.Seek(size_t{offset} + kNameEntryPrefix) != ReadError::None || r.ReadBytes(r.Remaining(), &rest) != ReadError::None)
    return false;
  const auto* end = static_cast<const uint8_t*>(std::memchr(rest.data(), 0, rest.size()));
  if (!end) return false;
  *out = msft::AnsiToText(rest.first(static_cast<size_t>(end - rest.data())));
  return true;
}

const Block* Parser::FindBlock(ByteSpan name) const {
  const std::string_view wanted(reinterpret_cast<const char*>(name.data()), name.size());
  for (const Block& b : blocks_)
    if (b.name == wanted) return &b;
  return nullptr;
}

Expected<void> Parser::ReadBlocks() {
  ByteReader r(file_);
  FileHeader h;
  if (r.Read(&h) != ReadError::None) return Damaged(0, "file header");
  std::vector<BlockEntry> entries(h.blockCount);
  for (BlockEntry& e : entries)
    if (r.Read(&e) != ReadError::None) return Damaged(r.Offset(), "block directory");
  ByteReader blockNames;
  if (r.SubReader(r.Offset(), h.blockNamesLength, &blockNames) != ReadError::None ||
      r.Skip(size_t{h.blockNamesLength} + kBlockNamesPadding) != ReadError::None)
    return Damaged(r.Offset(), "block names");
  // The blocks lie one after another in the order of the chain.
  size_t offset = r.Offset();
  uint16_t index = h.firstBlock;
  for (size_t step = 0; step < entries.size() && index < entries.size(); ++step) {
    const BlockEntry& e = entries[index];
    Block block;
    block.offset = offset;
    if (r.SubReader(offset, e.length, &block.bytes) != ReadError::None) return Damaged(offset, "block");
    ByteSpan nameBytes;
    ByteReader nameReader = blockNames;
    if (nameReader.Seek(e.nameOffset) != ReadError::None ||
        nameReader.ReadBytes(nameReader.Remaining(), &nameBytes) != ReadError::None)
      return Damaged(offset, "block name");
    const auto* end = static_cast<const uint8_t*>(std::memchr(nameBytes.data(), 0, nameBytes.size()));
    if (!end) return Damaged(offset, "block name");
    block.name = std::string_view(reinterpret_cast<const char*>(nameBytes.data()),
                                  static_cast<size_t>(end - nameBytes.data()));
    blocks_.push_back(block);
    offset += e.length;
    index = e.next;
  }
  return {};
}

Expected<void> Parser::ReadLibrary(msft::LibModel* lib) {
  const Block* dir = FindBlock(ByteSpan(reinterpret_cast<const uint8_t*>("dir"), 3));
  if (!dir) return Damaged(0, "library block");
  ByteReader r = dir->bytes;
  const auto where = [&](const char* record) { return Damaged(dir->offset + r.Offset(), record); };
  uint16_t head[4];
  ByteSpan docString, helpFile;
  LibraryAttributes a;
  if (r.Read(&head) != ReadError::None || head[0] != kLibraryMagic) return where("library block");
  if (!CountedText(r, &docString) || !CountedText(r, &helpFile) || r.Read(&a) != ReadError::None)
    return where("library attributes");
  lib->lcid = lib->typeLcid = a.lcid;
  lib->syskind = a.syskind;
  lib->libFlags = a.libFlags;
  lib->majorVersion = a.majorVersion;
  lib->minorVersion = a.minorVersion;
  lib->helpContext = a.helpContext;
  lib->libid = GuidFromBytes(a.guid);
  lib->docString = msft::AnsiToText(docString);
  lib->helpFile = msft::AnsiToText(helpFile);

  struct Entry {
    ByteSpan block;
    uint16_t name;
  };
  std::vector<Entry> entries;
  lib->types.resize(a.typeCount);
  for (msft::TypeModel& t : lib->types) {
    Entry e;
    ByteSpan indexName, text;
    uint8_t guid[16];
    uint16_t kind = 0;
    if (!CountedText(r, &e.block) || !CountedText(r, &indexName) || !CountedText(r, &text) ||
        r.Read(&e.name) != ReadError::None ||
        // The help string, compressed with the library's own table.
        !CountedText(r, &text) || !CountedText(r, &text) || r.Read(&t.helpContext) != ReadError::None ||
        !CountedText(r, &text) || r.Read(&guid) != ReadError::None || r.Read(&kind) != ReadError::None)
      return where("type entry");
    if (kind > TKIND_UNION) return where("type entry");
    t.kind = static_cast<TypeKind>(kind);
    t.guid = GuidFromBytes(guid);
    entries.push_back(e);
  }

  // Two sections follow: a hash of the names, then the name table.
  uint32_t sectionsOffset = 0;
  SectionHeader section;
  if (r.Read(&sectionsOffset) != ReadError::None || r.Seek(sectionsOffset) != ReadError::None ||
      r.Read(&section) != ReadError::None || r.Skip(size_t{section.length} + 2) != ReadError::None ||
      r.Read(&section) != ReadError::None || r.SubReader(r.Offset(), section.length, &names_) != ReadError::None)
    return where("name table");
  if (!Name(head[2], &lib->name)) return where("library name");

  for (size_t i = 0; i < entries.size(); ++i) {
    msft::TypeModel& t = lib->types[i];
    t.href = static_cast<HREFTYPE>(i << 2);
    lib->typeByHref.emplace(t.href, i);
    if (!Name(entries[i].name, &t.name)) return where("type name");
    const Block* block = FindBlock(entries[i].block);
    if (!block) return where("type block name");
    if (Expected<void> read = ReadType(i, *block, &t); !read) return read;
  }
  return {};
}

Expected<void> Parser::ReadType(size_t, const Block& block, msft::TypeModel* t) {
  ByteReader r = block.bytes;
  TypeHeader h;
  MembersHeader members;
  TypeTail tail;
  if (r.Read(&h) != ReadError::None || h.magic != kTypeMagic) return Damaged(block.offset, "type block");
  if (r.Seek(h.membersOffset) != ReadError::None || r.Read(&members) != ReadError::None ||
      r.Skip(members.length) != ReadError::None || r.Read(&tail) != ReadError::None)
    return Damaged(block.offset + r.Offset(), "type members");
  t->flags = static_cast<uint16_t>(h.flags >> 3);
  t->implTypeCount = tail.implTypeCount;
  t->instanceSize = tail.instanceSize;
  t->alignment = tail.alignment;
  t->vtableSize = tail.vtableSize;
  t->unreadable = Code::TypeUnsupFormat;
  return {};
}

Expected<void> Parser::Run(msft::LibModel* lib) {
  if (!IsSltgTypeLib(file_)) return ReadFailure{Code::TypeCantLoadLibrary, 0, "file header"};
  if (Expected<void> blocks = ReadBlocks(); !blocks) return blocks;
  return ReadLibrary(lib);
}

}  // namespace

bool IsSltgTypeLib(ByteSpan file) { return file.size() >= 4 && std::memcmp(file.data(), "SLTG", 4) == 0; }

Expected<void> ParseSltgTypeLib(ByteSpan file, msft::LibModel* out) {
  *out = msft::LibModel{};
  Parser parser(file);
  Expected<void> parsed = parser.Run(out);
  if (!parsed) *out = msft::LibModel{};
  return parsed;
}

}  // namespace brannock::typelib::sltg
