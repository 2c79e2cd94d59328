// The security descriptors of tests/data/security/descriptors.txt, and a
// builder of descriptor bytes for tests that need their own.
#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/text.h"

namespace brannock::testing {

struct DescriptorFixture {
  std::string name;
  std::vector<uint8_t> bytes;
  Text text;      // the SDDL, or "! " and the line of a damaged descriptor
  Text wineText;  // what Wine's advapi32 gives instead; empty when the same
};

inline std::vector<uint8_t> BytesFromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

inline std::vector<DescriptorFixture> DescriptorFixtures() {
  std::vector<DescriptorFixture> out;
  std::ifstream in(std::string(BRANNOCK_TEST_DATA) + "/security/descriptors.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
      const size_t bar = line.find(" | ", start);
      fields.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
      if (bar == std::string::npos) break;
      start = bar + 3;
    }
    DescriptorFixture f;
    f.name = fields.at(0);
    f.bytes = BytesFromHex(fields.at(1));
    f.text = Utf8ToUtf16(fields.at(2));
    if (fields.size() > 3) f.wineText = Utf8ToUtf16(fields[3]);
    out.push_back(std::move(f));
  }
  return out;
}

// Descriptor bytes laid out as the SDK's records give them.
namespace sd {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline Bytes Sid(uint64_t authority, std::initializer_list<uint32_t> subs, uint8_t revision = 1) {
  Bytes b{revision, static_cast<uint8_t>(subs.size())};
  for (int i = 5; i >= 0; --i) b.push_back(static_cast<uint8_t>(authority >> (8 * i)));
  for (uint32_t s : subs) Put32(b, s);
  return b;
}

// An ACE: header, mask, then `body` (object flags and GUIDs) and the SID.
inline Bytes Ace(uint8_t type, uint8_t flags, uint32_t mask, const Bytes& sid, const Bytes& body = {},
                 const Bytes& tail = {}) {
  Bytes b{type, flags};
  Put16(b, static_cast<uint16_t>(8 + body.size() + sid.size() + tail.size()));
  Put32(b, mask);
  b.insert(b.end(), body.begin(), body.end());
  b.insert(b.end(), sid.begin(), sid.end());
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

inline Bytes Acl(std::initializer_list<Bytes> aces, uint8_t revision = 2) {
  size_t size = 8;
  for (const Bytes& a : aces) size += a.size();
  Bytes b{revision, 0};
  Put16(b, static_cast<uint16_t>(size));
  Put16(b, static_cast<uint16_t>(aces.size()));
  Put16(b, 0);
  for (const Bytes& a : aces) b.insert(b.end(), a.begin(), a.end());
  return b;
}

struct Parts {
  Bytes owner, group, sacl, dacl;
  uint16_t control = 0;
  bool nullDacl = false;
};

// The self-relative descriptor: header, then owner, group, SACL and DACL.
inline Bytes Descriptor(const Parts& p) {
  Bytes b{1, 0};
  uint16_t control = static_cast<uint16_t>(p.control | 0x8000);
  if (!p.sacl.empty()) control |= 0x10;
  if (!p.dacl.empty() || p.nullDacl) control |= 0x4;
  Put16(b, control);
  uint32_t at = 20;
  uint32_t offsets[4] = {};
  const Bytes* parts[4] = {&p.owner, &p.group, &p.sacl, &p.dacl};
  for (int i = 0; i < 4; ++i) {
    if (parts[i]->empty()) continue;
    offsets[i] = at;
    at += static_cast<uint32_t>(parts[i]->size());
  }
  for (uint32_t o : offsets) Put32(b, o);
  for (const Bytes* part : parts) b.insert(b.end(), part->begin(), part->end());
  return b;
}

}  // namespace sd

}  // namespace brannock::testing
