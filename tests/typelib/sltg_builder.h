// A small SLTG library built byte by byte: one record type "Point" in the
// library "Lib", laid out as the real files of that format are (header,
// block directory, block names, the type's block, the library block "dir"
// and the trailer). Offsets of the fields the damage tests change are kept.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace brannock::typelib::testing {

struct SltgBytes {
  std::vector<uint8_t> bytes;
  size_t blockCount = 0;        // u16
  size_t typeBlockLength = 0;   // u32 of the type's directory entry
  size_t typeMembersOffset = 0;  // u32 in the type block's header
  size_t typeCount = 0;         // u16 in the library block
  size_t typeNameOffset = 0;    // u16 of the type's entry
  size_t sectionsOffset = 0;    // u32 after the type entries
  size_t firstVarMagic = 0;     // u8, in the type block until the block is placed
};

class ByteAppender {
 public:
  explicit ByteAppender(std::vector<uint8_t>* out) : out_(out) {}
  size_t U8(uint8_t v) { return Raw(&v, 1); }
  size_t U16(uint16_t v) { return Raw(&v, 2); }
  size_t U32(uint32_t v) { return Raw(&v, 4); }
  size_t Str(const std::string& s) { return Raw(s.data(), s.size()); }
  size_t Counted(const std::string& s) {
    const size_t at = U16(static_cast<uint16_t>(s.size()));
    Str(s);
    return at;
  }
  size_t Guid(uint8_t first) {
    const size_t at = U8(first);
    for (int i = 1; i < 16; ++i) U8(static_cast<uint8_t>(i));
    return at;
  }
  size_t Fill(size_t n, uint8_t v) { return Raw(std::string(n, static_cast<char>(v)).data(), n); }

 private:
  size_t Raw(const void* p, size_t n) {
    const size_t at = out_->size();
    out_->insert(out_->end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
    return at;
  }
  std::vector<uint8_t>* out_;
};

inline SltgBytes BuildSltgLibrary() {
  SltgBytes r;
  // The type's block: header, the member section with two variables
  // (x: LongInt at 0, y: Word at 4, their types in the records' own
  // words), the tail.
  std::vector<uint8_t> type;
  ByteAppender t(&type);
  t.U16(0x0501);
  t.U32(0xFFFFFFFF);  // no references
  t.U32(0xFFFFFFFF);
  const size_t membersField = t.U32(0x1E);
  t.U32(0xFFFFFFFF);
  t.Fill(8, 0);
  t.U16(static_cast<uint16_t>((0x10 << 3) | 2));  // hidden
  t.U8(2);
  t.U8(1);  // TKIND_RECORD
  t.Fill(4, 0);
  t.U8(1);
  t.U32(2 * 0x12);
  for (uint16_t i = 0; i < 2; ++i) {
    const size_t at = t.U8(0x0A);
    if (i == 0) r.firstVarMagic = at;
    t.U8(0x02);                                  // the type is the word itself
    t.U16(i == 0 ? uint16_t{0x12} : uint16_t{0xFFFF});  // the next variable
    t.U16(i == 0 ? uint16_t{0x20} : uint16_t{0x30});    // name
    t.U16(static_cast<uint16_t>(4 * i));        // offset in the record
    t.U16(i == 0 ? uint16_t{3} : uint16_t{18});  // VT_I4, VT_UI2
    t.U32(0x40000000u + i);
    t.U16(0xFFFE);
    t.U16(0xFFFF);
  }
  t.U16(0);  // functions
  t.U16(2);  // variables
  t.U16(0);  // implemented types
  t.U16(0);
  t.U16(0xFFFF);  // first function
  t.U16(0);       // first variable
  t.U16(0xFFFF);  // first implemented type
  t.Fill(18, 0);
  t.U16(8);  // size
  t.U16(4);  // alignment
  t.Fill(4, 0);
  t.U16(0);  // vtable
  t.Fill(12, 0);

  std::vector<uint8_t> dir;
  ByteAppender d(&dir);
  d.U16(0x51CC);
  d.U16(3);
  d.U16(0);  // library name: the first entry of the name table
  d.U16(0xFFFF);
  d.Counted("A library built by hand");
  d.U16(0xFFFF);  // no help file
  d.U32(5);       // help context
  d.U16(1);       // SYS_WIN32
  d.U16(0x409);
  d.U16(0);
  d.U16(1);
  d.U16(0);  // library flags
  d.U16(2);
  d.U16(3);
  d.Guid(0xA1);
  d.Fill(64, 0xFF);
  const size_t countField = d.U16(1);
  d.Counted("B");  // the type's block
  d.Counted("C");
  d.U16(0xFFFF);
  const size_t nameField = d.U16(0x10);
  d.U16(0);
  d.U16(0xFFFF);
  d.U32(7);  // help context
  d.U16(0xFFFF);
  d.Guid(0);
  d.U16(1);
  const size_t sectionsField = d.U32(0);
  const uint32_t sections = static_cast<uint32_t>(dir.size());
  std::memcpy(dir.data() + sectionsField, &sections, 4);
  d.U16(0xFFFF);
  d.U8(1);
  d.U32(4);
  d.Fill(4, 0xFF);
  d.U16(0);
  d.U16(0xFFFF);
  d.U8(1);
  d.U32(0x40);
  for (const char* name : {"Lib", "Point", "x", "y"}) {
    d.Fill(8, 0);
    std::string text(name);
    text.resize(8, '\0');
    d.Str(text);
  }

  std::vector<uint8_t> compObj(0x20, 0);
  const std::string blockNames("\1CompObj\0B\0dir\0", 15);

  ByteAppender f(&r.bytes);
  f.Str("SLTG");
  r.blockCount = f.U16(3);
  f.U16(9);
  f.U16(static_cast<uint16_t>(blockNames.size()));
  f.U16(1);  // the chain: B, dir, CompObj
  f.Guid(0xFF);
  f.U32(static_cast<uint32_t>(compObj.size()));
  f.U16(0);
  f.U16(0xFFFF);
  r.typeBlockLength = f.U32(static_cast<uint32_t>(type.size()));
  f.U16(9);
  f.U16(2);
  f.U32(static_cast<uint32_t>(dir.size()));
  f.U16(11);
  f.U16(0);
  f.Str(blockNames);
  f.Fill(9, 0);
  const size_t typeAt = f.Str(std::string(type.begin(), type.end()));
  const size_t dirAt = f.Str(std::string(dir.begin(), dir.end()));
  f.Str(std::string(compObj.begin(), compObj.end()));
  r.typeMembersOffset = typeAt + membersField;
  r.firstVarMagic += typeAt;
  r.typeCount = dirAt + countField;
  r.typeNameOffset = dirAt + nameField;
  r.sectionsOffset = dirAt + sectionsField;
  return r;
}

}  // namespace brannock::typelib::testing
