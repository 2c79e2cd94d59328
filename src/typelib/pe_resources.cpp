#include "typelib/pe_resources.h"


namespace brannock::typelib {
namespace {

#pragma pack(push, 1)
struct CoffHeader {
  uint16_t machine;
  uint16_t numberOfSections;
  uint32_t timeDateStamp;
  uint32_t pointerToSymbolTable;
  uint32_t numberOfSymbols;
  uint16_t sizeOfOptionalHeader;
  uint16_t characteristics;
};
static_assert(sizeof(CoffHeader) == 20);

struct DataDirectory {
  uint32_t virtualAddress;
  uint32_t size;
};
static_assert(sizeof(DataDirectory) == 8);

struct SectionHeader {
  char name[8];
  uint32_t virtualSize;
  uint32_t virtualAddress;
  uint32_t sizeOfRawData;
  uint32_t pointerToRawData;
  uint32_t pointerToRelocations;
  uint32_t pointerToLinenumbers;
  uint16_t numberOfRelocations;
  uint16_t numberOfLinenumbers;
  uint32_t characteristics;
};
static_assert(sizeof(SectionHeader) == 40);

struct ResourceDirectory {
  uint32_t characteristics;
  uint32_t timeDateStamp;
  uint16_t majorVersion;
  uint16_t minorVersion;
  uint16_t numberOfNamedEntries;
  uint16_t numberOfIdEntries;
};
static_assert(sizeof(ResourceDirectory) == 16);

struct ResourceDirectoryEntry {
  uint32_t name;          // high bit: offset of a length-prefixed UTF-16 name
  uint32_t offsetToData;  // high bit: offset of a subdirectory
};
static_assert(sizeof(ResourceDirectoryEntry) == 8);

struct ResourceDataEntry {
  uint32_t offsetToData;  // an RVA
  uint32_t size;
  uint32_t codePage;
  uint32_t reserved;
};
static_assert(sizeof(ResourceDataEntry) == 16);

struct IconGroupHeader {
  uint16_t reserved;
  uint16_t type;
  uint16_t count;
};
static_assert(sizeof(IconGroupHeader) == 6);

struct IconGroupEntry {
  uint8_t width, height, colorCount, reserved;
  uint16_t planes, bitCount;
  uint32_t bytesInRes;
  uint16_t id;
};
static_assert(sizeof(IconGroupEntry) == 14);
#pragma pack(pop)

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kHighBit = 0x80000000;
constexpr int kMaxDirectoryEntries = 0x10000;

class PeImage {
 public:
  explicit PeImage(ByteSpan file) : file_(file) {}

  PeError Open();
  // The resource data of type/name, first language.
  PeError Find(const ResourceId& type, const ResourceId& name, ByteSpan* data) const;
  PeError List(const ResourceId& type, std::vector<ResourceId>* names) const;

 private:
  bool RvaToOffset(uint32_t rva, uint32_t size, size_t* offset, size_t* available = nullptr) const;
  PeError Entries(uint32_t directoryOffset, std::vector<ResourceDirectoryEntry>* entries) const;
  bool EntryName(const ResourceDirectoryEntry& e, ResourceId* id) const;
  PeError Lookup(uint32_t directoryOffset, const ResourceId& id, ResourceDirectoryEntry* found) const;
  PeError FirstLeaf(const ResourceDirectoryEntry& e, ByteSpan* data) const;

  ByteSpan file_;
  std::vector<SectionHeader> sections_;
  ByteSpan resources_;  // the resource directory tree (the section part from its RVA)
};

PeError PeImage::Open() {
  ByteReader r(file_);
  uint16_t mz;
  uint32_t peOffset;
  if (!r.Read(&mz) || mz != 0x5A4D) return PeError::NotPe;
  if (!r.Seek(0x3C) || !r.Read(&peOffset)) return PeError::NotPe;
  uint32_t signature;
  if (!r.Seek(peOffset) || !r.Read(&signature) || signature != 0x00004550) return PeError::NotPe;
  CoffHeader coff;
  if (!r.Read(&coff)) return PeError::Malformed;
  const size_t optionalStart = r.Offset();
  uint16_t magic;
  if (!r.Read(&magic)) return PeError::Malformed;
  size_t directoriesAt;
  if (magic == kPe32Magic)
    directoriesAt = 96;
  else if (magic == kPe32PlusMagic)
    directoriesAt = 112;
  else
    return PeError::Malformed;
  uint32_t directoryCount;
  DataDirectory resourceDir{};
  if (!r.Seek(optionalStart + directoriesAt - 4) || !r.Read(&directoryCount)) return PeError::Malformed;
  if (directoryCount > kResourceDirectoryIndex &&
      (!r.Skip(kResourceDirectoryIndex * sizeof(DataDirectory)) || !r.Read(&resourceDir)))
    return PeError::Malformed;
  if (!r.Seek(optionalStart) || !r.Skip(coff.sizeOfOptionalHeader)) return PeError::Malformed;
  if (size_t{coff.numberOfSections} * sizeof(SectionHeader) > r.Remaining()) return PeError::Malformed;
  sections_.resize(coff.numberOfSections);
  for (auto& s : sections_)
    if (!r.Read(&s)) return PeError::Malformed;
  if (resourceDir.virtualAddress == 0) return PeError::NotFound;
  // The tree may run to the end of its section whatever the directory's size says.
  size_t offset, available;
  if (!RvaToOffset(resourceDir.virtualAddress, sizeof(ResourceDirectory), &offset, &available))
    return PeError::Malformed;
  resources_ = file_.subspan(offset, available);
  return PeError::None;
}

// The file offset of `size` bytes at `rva`, and how many bytes of the
// section (and of the file) lie from there on.
bool PeImage::RvaToOffset(uint32_t rva, uint32_t size, size_t* offset, size_t* available) const {
  for (const auto& s : sections_) {
    if (rva < s.virtualAddress) continue;
    const uint64_t delta = uint64_t{rva} - s.virtualAddress;
    if (delta + size > s.sizeOfRawData) continue;
    const uint64_t at = uint64_t{s.pointerToRawData} + delta;
    const uint64_t sectionEnd = std::min<uint64_t>(uint64_t{s.pointerToRawData} + s.sizeOfRawData, file_.size());
    if (at > sectionEnd || sectionEnd - at < size) return false;
    *offset = static_cast<size_t>(at);
    if (available) *available = static_cast<size_t>(sectionEnd - at);
    return true;
  }
  return false;
}

PeError PeImage::Entries(uint32_t directoryOffset, std::vector<ResourceDirectoryEntry>* entries) const {
  ByteReader r(resources_);
  ResourceDirectory dir;
  if (!r.Seek(directoryOffset) || !r.Read(&dir)) return PeError::Malformed;
  const size_t count = size_t{dir.numberOfNamedEntries} + dir.numberOfIdEntries;
  if (count > kMaxDirectoryEntries || count * sizeof(ResourceDirectoryEntry) > r.Remaining()) return PeError::Malformed;
  entries->resize(count);
  for (auto& e : *entries)
    if (!r.Read(&e)) return PeError::Malformed;
  return PeError::None;
}

bool PeImage::EntryName(const ResourceDirectoryEntry& e, ResourceId* id) const {
  if ((e.name & kHighBit) == 0) {
    *id = static_cast<uint16_t>(e.name);
    return true;
  }
  ByteReader r(resources_);
  uint16_t length;
  ByteSpan chars;
  if (!r.Seek(e.name & ~kHighBit) || !r.Read(&length) || !r.ReadBytes(size_t{length} * 2, &chars)) return false;
  Text name(length, u'\0');
  for (size_t i = 0; i < length; ++i) name[i] = static_cast<char16_t>(chars[2 * i] | chars[2 * i + 1] << 8);
  *id = std::move(name);
  return true;
}

bool SameId(const ResourceId& a, const ResourceId& b) {
  if (a.index() != b.index()) return false;
  if (a.index() == 0) return std::get<0>(a) == std::get<0>(b);
  return EqualsNoCase(std::get<1>(a), std::get<1>(b));
}

PeError PeImage::Lookup(uint32_t directoryOffset, const ResourceId& id, ResourceDirectoryEntry* found) const {
  std::vector<ResourceDirectoryEntry> entries;
  if (PeError e = Entries(directoryOffset, &entries); e != PeError::None) return e;
  for (const auto& entry : entries) {
    ResourceId name;
    if (!EntryName(entry, &name)) return PeError::Malformed;
    if (SameId(name, id)) {
      *found = entry;
      return PeError::None;
    }
  }
  return PeError::NotFound;
}

PeError PeImage::FirstLeaf(const ResourceDirectoryEntry& e, ByteSpan* data) const {
  ResourceDirectoryEntry entry = e;
  // The name level's entry leads to the language directory.
  for (int level = 0; (entry.offsetToData & kHighBit) != 0; ++level) {
    if (level > 1) return PeError::Malformed;
    std::vector<ResourceDirectoryEntry> languages;
    if (PeError err = Entries(entry.offsetToData & ~kHighBit, &languages); err != PeError::None) return err;
    if (languages.empty()) return PeError::NotFound;
    entry = languages.front();
  }
  ResourceDataEntry leaf;
  if (!ReadAt(resources_, entry.offsetToData, &leaf)) return PeError::Malformed;
  size_t offset;
  if (!RvaToOffset(leaf.offsetToData, leaf.size, &offset)) return PeError::Malformed;
  *data = file_.subspan(offset, leaf.size);
  return PeError::None;
}

PeError PeImage::Find(const ResourceId& type, const ResourceId& name, ByteSpan* data) const {
  ResourceDirectoryEntry typeEntry, nameEntry;
  if (PeError e = Lookup(0, type, &typeEntry); e != PeError::None) return e;
  if ((typeEntry.offsetToData & kHighBit) == 0) return PeError::Malformed;
  if (PeError e = Lookup(typeEntry.offsetToData & ~kHighBit, name, &nameEntry); e != PeError::None) return e;
  return FirstLeaf(nameEntry, data);
}

PeError PeImage::List(const ResourceId& type, std::vector<ResourceId>* names) const {
  names->clear();
  ResourceDirectoryEntry typeEntry;
  if (PeError e = Lookup(0, type, &typeEntry); e != PeError::None) return e;
  if ((typeEntry.offsetToData & kHighBit) == 0) return PeError::Malformed;
  std::vector<ResourceDirectoryEntry> entries;
  if (PeError e = Entries(typeEntry.offsetToData & ~kHighBit, &entries); e != PeError::None) return e;
  for (const auto& entry : entries) {
    ResourceId name;
    if (!EntryName(entry, &name)) return PeError::Malformed;
    names->push_back(std::move(name));
  }
  return PeError::None;
}

void PutU16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>* out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

bool IsPeFile(ByteSpan file) {
  PeImage image(file);
  const PeError e = image.Open();
  return e == PeError::None || e == PeError::NotFound;
}

PeError FindPeResource(ByteSpan file, const ResourceId& type, const ResourceId& name, ByteSpan* data) {
  PeImage image(file);
  if (PeError e = image.Open(); e != PeError::None) return e;
  return image.Find(type, name, data);
}

PeError ListPeResources(ByteSpan file, const ResourceId& type, std::vector<ResourceId>* names) {
  PeImage image(file);
  if (PeError e = image.Open(); e != PeError::None) return e;
  return image.List(type, names);
}

std::optional<std::vector<uint8_t>> ExtractIconFile(ByteSpan file, int index) {
  PeImage image(file);
  if (image.Open() != PeError::None) return std::nullopt;
  ResourceId group;
  if (index < 0) {
    if (index < -0xFFFF) return std::nullopt;
    group = static_cast<uint16_t>(-index);
  } else {
    std::vector<ResourceId> groups;
    if (image.List(kRtGroupIcon, &groups) != PeError::None || static_cast<size_t>(index) >= groups.size())
      return std::nullopt;
    group = groups[static_cast<size_t>(index)];
  }
  ByteSpan groupData;
  if (image.Find(kRtGroupIcon, group, &groupData) != PeError::None) return std::nullopt;
  ByteReader r(groupData);
  IconGroupHeader header;
  if (!r.Read(&header) || header.type != 1 || header.count == 0) return std::nullopt;
  std::vector<IconGroupEntry> entries;
  std::vector<ByteSpan> images;
  for (uint16_t i = 0; i < header.count; ++i) {
    IconGroupEntry e;
    ByteSpan data;
    if (!r.Read(&e)) return std::nullopt;
    if (image.Find(kRtIcon, e.id, &data) != PeError::None) continue;  // a missing image is left out
    entries.push_back(e);
    images.push_back(data);
  }
  if (entries.empty()) return std::nullopt;
  // ICONDIR, one 16-byte ICONDIRENTRY per image, then the images.
  std::vector<uint8_t> ico;
  PutU16(&ico, 0);
  PutU16(&ico, 1);
  PutU16(&ico, static_cast<uint16_t>(entries.size()));
  size_t offset = 6 + 16 * entries.size();
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    ico.insert(ico.end(), {e.width, e.height, e.colorCount, e.reserved});
    PutU16(&ico, e.planes);
    PutU16(&ico, e.bitCount);
    PutU32(&ico, static_cast<uint32_t>(images[i].size()));
    PutU32(&ico, static_cast<uint32_t>(offset));
    offset += images[i].size();
  }
  for (const auto& data : images) ico.insert(ico.end(), data.begin(), data.end());
  return ico;
}

}  // namespace brannock::typelib
