#include "hive_writer_support.h"

#include <hivex.h>

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace brannock::testing {

namespace {

void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t Get32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])) << (8 * i);
  return v;
}

// A hive with an empty root key "ROOT": base block, one 4 KiB bin holding the
// root key cell, its security cell and one free cell.
std::string EmptyHive() {
  std::string b(0x2000, '\0');
  // Base block.
  std::memcpy(&b[0], "regf", 4);
  Put32(b, 0x04, 1);       // primary sequence number
  Put32(b, 0x08, 1);       // secondary sequence number
  Put32(b, 0x14, 1);       // major version
  Put32(b, 0x18, 3);       // minor version
  Put32(b, 0x1C, 0);       // primary file
  Put32(b, 0x20, 1);       // direct memory load
  Put32(b, 0x24, 0x20);    // root cell offset
  Put32(b, 0x28, 0x1000);  // size of the bins
  Put32(b, 0x2C, 1);       // clustering factor
  uint32_t sum = 0;
  for (size_t i = 0; i < 0x1FC; i += 4) sum ^= Get32(b, i);
  Put32(b, 0x1FC, sum);

  // Bin header.
  const size_t bin = 0x1000;
  std::memcpy(&b[bin], "hbin", 4);
  Put32(b, bin + 0x04, 0);       // offset from the first bin
  Put32(b, bin + 0x08, 0x1000);  // size of the bin

  // Root key cell at 0x20: 4-byte size, then the nk record (0x50 bytes + name).
  const size_t nk = bin + 0x20;
  const std::string name = "ROOT";
  const uint32_t nkSize = 0x60;  // 4 + 0x50 + 4, rounded up to 8
  Put32(b, nk, static_cast<uint32_t>(-static_cast<int32_t>(nkSize)));
  const size_t r = nk + 4;
  std::memcpy(&b[r], "nk", 2);
  Put16(b, r + 0x02, 0x2C);        // hive entry, not deletable, ASCII name
  Put32(b, r + 0x10, 0xFFFFFFFF);  // parent
  Put32(b, r + 0x1C, 0xFFFFFFFF);  // subkey list
  Put32(b, r + 0x20, 0xFFFFFFFF);  // volatile subkey list
  Put32(b, r + 0x28, 0xFFFFFFFF);  // value list
  const uint32_t sk = 0x20 + nkSize;
  Put32(b, r + 0x2C, sk);          // security cell
  Put32(b, r + 0x30, 0xFFFFFFFF);  // class name
  Put16(b, r + 0x48, static_cast<uint16_t>(name.size()));
  std::memcpy(&b[r + 0x4C], name.data(), name.size());

  // Security cell: a self-relative descriptor with no owner, group or lists.
  const size_t s = bin + sk;
  const uint32_t skSize = 0x30;  // 4 + 0x14 + 20, rounded up to 8
  Put32(b, s, static_cast<uint32_t>(-static_cast<int32_t>(skSize)));
  std::memcpy(&b[s + 4], "sk", 2);
  Put32(b, s + 0x08, sk);  // next security cell (itself)
  Put32(b, s + 0x0C, sk);  // previous security cell (itself)
  Put32(b, s + 0x10, 1);   // reference count
  Put32(b, s + 0x14, 20);  // descriptor size
  b[s + 0x18] = 1;         // revision
  Put16(b, s + 0x1A, 0x8000);  // self-relative

  // The rest of the bin is one free cell.
  const uint32_t used = sk + skSize;
  Put32(b, bin + used, 0x1000 - used);
  return b;
}

struct HiveCloser {
  void operator()(hive_h* h) const { hivex_close(h); }
};

}  // namespace

size_t WriteHive(const registry::MemoryStore::Node& root, const std::filesystem::path& file, size_t maxChildren) {
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const std::string empty = EmptyHive();
    out.write(empty.data(), static_cast<std::streamsize>(empty.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
  }
  std::unique_ptr<hive_h, HiveCloser> hive(hivex_open(file.c_str(), HIVEX_OPEN_WRITE));
  if (!hive) throw std::runtime_error("hivex cannot open the empty hive: " + std::string(std::strerror(errno)));
  size_t keys = 0;
  std::vector<std::pair<const registry::MemoryStore::Node*, hive_node_h>> work{{&root, hivex_root(hive.get())}};
  while (!work.empty()) {
    auto [node, handle] = work.back();
    work.pop_back();
    ++keys;
    std::vector<std::string> names;
    names.reserve(node->Values().size());
    for (const auto& v : node->Values()) names.push_back(Utf16ToUtf8(v.name));
    std::vector<hive_set_value> values;
    for (size_t i = 0; i < node->Values().size(); ++i) {
      const auto& v = node->Values()[i];
      hive_set_value set{names[i].data(), hive_t_REG_NONE, v.data.size(),
                         reinterpret_cast<char*>(const_cast<uint8_t*>(v.data.data()))};
      static_assert(sizeof(set.t) == sizeof(v.type));
      std::memcpy(&set.t, &v.type, sizeof v.type);  // any 32-bit code, also one hive_type does not name
      values.push_back(set);
    }
    if (!values.empty() && hivex_node_set_values(hive.get(), handle, values.size(), values.data(), 0) != 0)
      throw std::runtime_error("hivex cannot set values: " + std::string(std::strerror(errno)));
    size_t count = 0;
    for (const auto& [key, child] : node->Children()) {
      if (count++ == maxChildren) break;
      const hive_node_h added = hivex_node_add_child(hive.get(), handle, Utf16ToUtf8(child->name).c_str());
      if (added == 0) throw std::runtime_error("hivex cannot add a key: " + std::string(std::strerror(errno)));
      work.emplace_back(child.get(), added);
    }
  }
  if (hivex_commit(hive.get(), nullptr, 0) != 0)
    throw std::runtime_error("hivex cannot commit: " + std::string(std::strerror(errno)));
  return keys;
}

}  // namespace brannock::testing
