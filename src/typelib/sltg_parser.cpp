#include "typelib/sltg_parser.h"

#include "typelib/sltg_members.h"

#include <cstring>
#include <string_view>

#include "common/ascii.h"
#include "common/windows1252.h"

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
#pragma pack(pop)
static_assert(sizeof(FileHeader) == 0x1C && sizeof(BlockEntry) == 8 && sizeof(SectionHeader) == 7);

constexpr uint16_t kLibraryMagic = 0x51CC;
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
  // The href of a reference text of a type block.
  bool Reference(ByteSpan text, msft::LibModel* lib, HREFTYPE* href);
  // A text with a 16-bit length before it (0xFFFF: none).
  bool CountedText(ByteReader& r, ByteSpan* out) const;
  bool Name(uint16_t offset, Text* out) const;
  const Block* FindBlock(ByteSpan name) const;

  ByteSpan file_;
  std::vector<Block> blocks_;
  size_t libraryOffset_ = 0;
  ByteReader names_;
  std::vector<uint16_t> importNames_;  // the name table offset of each import
};

bool Parser::CountedText(ByteReader& r, ByteSpan* out) const {
  uint16_t length = 0;
  *out = ByteSpan();
  if (!r.Read(&length)) return false;
  return length == kNone || r.ReadBytes(length, out);
}

bool Parser::Name(uint16_t offset, Text* out) const {
  out->clear();
  if (offset == kNone) return true;
  ByteReader r = names_;
  ByteSpan rest;
  if (!r.Seek(size_t{offset} + kNameEntryPrefix) || !r.ReadBytes(r.Remaining(), &rest)) return false;
  const auto* end = static_cast<const uint8_t*>(std::memchr(rest.data(), 0, rest.size()));
  if (!end) return false;
  *out = Windows1252ToText(rest.first(static_cast<size_t>(end - rest.data())));
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
  if (!r.Read(&h)) return Damaged(0, "file header");
  std::vector<BlockEntry> entries(h.blockCount);
  for (BlockEntry& e : entries)
    if (!r.Read(&e)) return Damaged(r.Offset(), "block directory");
  ByteReader blockNames;
  if (!r.SubReader(r.Offset(), h.blockNamesLength, &blockNames) ||
      !r.Skip(size_t{h.blockNamesLength} + kBlockNamesPadding))
    return Damaged(r.Offset(), "block names");
  // The blocks lie one after another in the order of the chain.
  size_t offset = r.Offset();
  uint16_t index = h.firstBlock;
  for (size_t step = 0; step < entries.size() && index < entries.size(); ++step) {
    const BlockEntry& e = entries[index];
    Block block;
    block.offset = offset;
    if (!r.SubReader(offset, e.length, &block.bytes)) return Damaged(offset, "block");
    ByteSpan nameBytes;
    ByteReader nameReader = blockNames;
    if (!nameReader.Seek(e.nameOffset) || !nameReader.ReadBytes(nameReader.Remaining(), &nameBytes))
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
  if (!r.Read(&head) || head[0] != kLibraryMagic) return where("library block");
  if (!CountedText(r, &docString) || !CountedText(r, &helpFile) || !r.Read(&a)) return where("library attributes");
  // The format has one locale. The library and its types report it only
  // when it names a language without a sublanguage (LANG_ENGLISH, 9); a
  // locale of one country (0x409) is the default of a library that has no
  // lcid attribute, and they report 0, as oleaut32 does.
  lib->lcid = a.lcid;
  lib->typeLcid = a.lcid < 0x400 ? a.lcid : 0;
  lib->syskind = a.syskind;
  lib->libFlags = a.libFlags;
  lib->majorVersion = a.majorVersion;
  lib->minorVersion = a.minorVersion;
  lib->helpContext = a.helpContext;
  lib->libid = GuidFromBytes(a.guid);
  lib->docString = Windows1252ToText(docString);
  lib->helpFile = Windows1252ToText(helpFile);

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
    if (!CountedText(r, &e.block) || !CountedText(r, &indexName) || !CountedText(r, &text) || !r.Read(&e.name) ||
        // The help string, compressed with the library's own table.
        !CountedText(r, &text) || !CountedText(r, &text) || !r.Read(&t.helpContext) || !CountedText(r, &text) ||
        !r.Read(&guid) || !r.Read(&kind))
      return where("type entry");
    if (kind > TKIND_UNION) return where("type entry");
    t.kind = static_cast<TypeKind>(kind);
    t.guid = GuidFromBytes(guid);
    entries.push_back(e);
  }

  // Two sections follow: a hash of the names, then the name table.
  uint32_t sectionsOffset = 0;
  SectionHeader section;
  if (!r.Read(&sectionsOffset) || !r.Seek(sectionsOffset) || !r.Read(&section) || !r.Skip(size_t{section.length} + 2) ||
      !r.Read(&section) || !r.SubReader(r.Offset(), section.length, &names_))
    return where("name table");
  if (!Name(head[2], &lib->name)) return where("library name");

  LibraryContext library;
  library.name = [this](uint16_t offset, Text* out) { return Name(offset, out); };
  library.reference = [this, lib](ByteSpan text, HREFTYPE* href) { return Reference(text, lib, href); };
  for (size_t i = 0; i < entries.size(); ++i) {
    msft::TypeModel& t = lib->types[i];
    t.href = static_cast<HREFTYPE>(i << 2);
    lib->typeByHref.emplace(t.href, i);
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    msft::TypeModel& t = lib->types[i];
    if (!Name(entries[i].name, &t.name)) return where("type name");
    const Block* block = FindBlock(entries[i].block);
    if (!block) return where("type block name");
    if (Expected<void> read = ReadTypeBlock(block->bytes.Data(), block->offset, library, lib, &t); !read) return read;
  }
  return {};
}

// "*\R<hex>*#<hex>": the library (ffff: this one; otherwise the name table
// offset of its "*\G{GUID}#MAJOR.MINOR#LCID#PATH#" text) and the type's index.
bool Parser::Reference(ByteSpan text, msft::LibModel* lib, HREFTYPE* href) {
  const std::string_view s(reinterpret_cast<const char*>(text.data()), text.size());
  const size_t hash = s.find("*#");
  uint32_t library = 0, index = 0;
  if (s.substr(0, 3) != "*\\R" || hash == std::string_view::npos || !ParseHex32(s.substr(3, hash - 3), &library) ||
      !ParseHex32(s.substr(hash + 2), &index))
    return false;
  if (library == kNone) {
    if (index >= lib->types.size()) return false;
    *href = index << 2;
    return true;
  }
  size_t importIndex = 0;
  while (importIndex < importNames_.size() && importNames_[importIndex] != library) ++importIndex;
  if (importIndex == importNames_.size()) {
    Text described;
    if (!Name(static_cast<uint16_t>(library), &described)) return false;
    // *\G{GUID}#MAJOR.MINOR#LCID#PATH#
    const size_t close = described.find(u'}');
    Guid guid;
    if (described.substr(0, 3) != u"*\\G" || close == Text::npos || !TryTextToGuid(described.substr(3, close - 2), &guid))
      return false;
    std::vector<std::string> fields;
    std::string current;
    for (char16_t c : described.substr(close + 1)) {
      if (c == u'#') {
        fields.push_back(current);
        current.clear();
      } else {
        current.push_back(static_cast<char>(c < 0x80 ? c : '?'));
      }
    }
    fields.push_back(current);
    uint32_t major = 0, minor = 0, lcid = 0;
    const size_t dot = fields.size() > 1 ? fields[1].find('.') : std::string::npos;
    if (fields.size() < 4 || dot == std::string::npos || !ParseHex32(std::string_view(fields[1]).substr(0, dot), &major) ||
        !ParseHex32(std::string_view(fields[1]).substr(dot + 1), &minor) || !ParseHex32(fields[2], &lcid))
      return false;
    msft::ImportedLibrary imported;
    imported.libid = guid;
    imported.majorVersion = static_cast<uint16_t>(major);
    imported.minorVersion = static_cast<uint16_t>(minor);
    imported.lcid = lcid;
    // The path as the library's maker had it: LoadTypeLib finds the file
    // by its name.
    const size_t sep = fields[3].find_last_of("\\/");
    const std::string_view file = sep == std::string::npos ? std::string_view(fields[3])
                                                           : std::string_view(fields[3]).substr(sep + 1);
    imported.fileName = Windows1252ToText(ByteSpan(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    lib->imports.push_back(std::move(imported));
    importNames_.push_back(static_cast<uint16_t>(library));
  }
  // Imported types get hrefs of their own: (n << 2) | 1.
  *href = static_cast<HREFTYPE>((lib->importedTypes.size() << 2) | 1);
  for (const auto& [known, type] : lib->importedTypes)
    if (type.library == importIndex && type.index == index) {
      *href = known;
      return true;
    }
  lib->importedTypes.emplace(*href, msft::ImportedType{importIndex, false, Guid{}, index});
  return true;
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
