#include "registry/hive_store.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/files.h"
#include "registry/classes_root.h"
#include "registry/input_limits.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_file_reading.h"
#include "registry/registry_parse_error.h"

#ifdef BRANNOCK_HAVE_HIVEX
#include <hivex.h>
#endif

namespace brannock::registry {

#ifndef BRANNOCK_HAVE_HIVEX

bool HiveSupported() { return false; }

void LoadHive(const std::filesystem::path& file, MemoryStore&) {
  throw RegistryParseError::At(platform::HostPathText(file), 0, "registry hives cannot be read by this build (no hivex)");
}

#else

namespace {

// What hivex's error numbers say about the file.
std::string HivexErrorText(int error) {
  switch (error) {
    case 0: return "the hive is damaged";
    case EFAULT: return "the hive is damaged: a record points outside the file";
    case EINVAL: return "the hive is damaged: a record is not what its place says (" + std::string(std::strerror(error)) + ")";
    case ENOTSUP: return "the file holds hive data that cannot be read (a transaction log, or an unknown record type)";
    case ERANGE: return "the hive passes a limit of the hive reader (too many subkeys or values, or a value too large)";
    case ELOOP: return "the hive is damaged: its keys form a loop";
    case ENOMEM: return "not enough memory for the hive";
    default: return std::strerror(error);
  }
}

// The size a hive file's header gives it: the 4096-byte header block and
// the hive bins after it; nothing when the file does not start like a hive.
std::optional<uint64_t> HeaderSize(const std::filesystem::path& file, TextView source) {
  constexpr size_t kHeaderBytes = 4096;
  const std::string head = ReadFileHead(file, source, kHeaderBytes);
  if (head.size() < 0x2C || head.compare(0, 4, "regf") != 0) return std::nullopt;
  const auto* b = reinterpret_cast<const unsigned char*>(head.data());
  return kHeaderBytes + (b[0x28] | (b[0x29] << 8) | (b[0x2A] << 16) | (uint64_t{b[0x2B]} << 24));
}

struct Freer {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Malloced = std::unique_ptr<T, Freer>;

class Hive {
 public:
  Hive(const std::filesystem::path& file, Text source) : source_(std::move(source)) {
    hive_ = hivex_open(file.c_str(), 0);
    if (hive_ == nullptr) Fail("cannot open the hive");
  }
  ~Hive() {
    if (hive_ != nullptr) hivex_close(hive_);
  }
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  [[noreturn]] void Fail(const char* what) const {
    throw RegistryParseError::At(source_, 0, std::string(what) + ": " + HivexErrorText(errno));
  }

  hive_node_h Root() {
    errno = 0;
    const hive_node_h root = hivex_root(hive_);
    if (root == 0) Fail("cannot read the hive's root key");
    return root;
  }

  std::vector<hive_node_h> Children(hive_node_h node) {
    errno = 0;
    Malloced<hive_node_h> list(hivex_node_children(hive_, node));
    if (!list) Fail("cannot read the subkeys of a key");
    std::vector<hive_node_h> out;
    for (size_t i = 0; list.get()[i] != 0; ++i) out.push_back(list.get()[i]);
    return out;
  }

  Text Name(hive_node_h node) {
    errno = 0;
    Malloced<char> name(hivex_node_name(hive_, node));
    if (!name) Fail("cannot read the name of a key");
    return Utf8ToUtf16(name.get());
  }

  void ReadValues(hive_node_h node, MemoryStore::Node& into) {
    errno = 0;
    Malloced<hive_value_h> list(hivex_node_values(hive_, node));
    if (!list) Fail("cannot read the values of a key");
    for (size_t i = 0; list.get()[i] != 0; ++i) {
      const hive_value_h v = list.get()[i];
      errno = 0;
      Malloced<char> key(hivex_value_key(hive_, v));
      if (!key) Fail("cannot read the name of a value");
      hive_type type{};
      size_t len = 0;
      errno = 0;
      Malloced<char> data(hivex_value_value(hive_, v, &type, &len));
      if (!data && len != 0) Fail("cannot read the data of a value");
      // A damaged hive can hold any 32-bit type code, also one that hive_type
      // does not name: take the code's bytes rather than the enum's value.
      static_assert(sizeof(hive_type) == sizeof(uint32_t));
      uint32_t code = 0;
      std::memcpy(&code, &type, sizeof code);
      const auto* bytes = reinterpret_cast<const uint8_t*>(data.get());
      SetValueWithinLimits(into, Utf8ToUtf16(key.get()), code,
                           bytes == nullptr ? Bytes() : Bytes(bytes, bytes + len));
    }
  }

 private:
  hive_h* hive_ = nullptr;
  Text source_;
};

// Copies the subtree of `from` below `into`; every hive node is visited
// once, so a damaged hive whose keys form a loop cannot run away.
void CopyTree(Hive& hive, hive_node_h from, MemoryStore::Node& into) {
  std::unordered_set<hive_node_h> seen{from};
  std::vector<std::pair<hive_node_h, MemoryStore::Node*>> work{{from, &into}};
  while (!work.empty()) {
    auto [node, target] = work.back();
    work.pop_back();
    hive.ReadValues(node, *target);
    for (hive_node_h child : hive.Children(node)) {
      if (!seen.insert(child).second) continue;
      const Text name = hive.Name(child);
      if (name.empty() || name.find(u'\\') != Text::npos) continue;  // not a valid key name
      work.emplace_back(child, AddChildWithinLimits(*target, name));
    }
  }
}

}  // namespace

bool HiveSupported() { return true; }

void LoadHive(const std::filesystem::path& file, MemoryStore& store) {
  const Text source = platform::HostPathText(file);
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec))
    throw RegistryParseError::At(source, 0, "cannot open the hive: it is a folder");
  std::error_code sizeError;
  const uint64_t size = std::filesystem::file_size(file, sizeError);
  if (!sizeError) {
    if (const std::string tooBig = RegistryFileSizeError(size); !tooBig.empty())
      throw RegistryParseError::At(source, 0, tooBig);
  }
  // A file of another kind (a .reg export under another name, a text)
  // is said to be one, rather than a damaged hive.
  if (ReadFileHead(file, source, 4) != "regf")
    throw RegistryParseError::At(source, 0,
                                 "not a registry hive: it does not start with \"regf\" (a .reg export is read as "
                                 "one when its name ends in .reg)");
  const std::optional<uint64_t> expected = HeaderSize(file, source);
  if (expected && !sizeError && size < *expected)
    throw RegistryParseError::At(source, 0, "the hive is truncated: its header gives " + std::to_string(*expected) +
                                                " bytes, the file holds " + std::to_string(size));
  Hive hive(file, source);
  const hive_node_h root = hive.Root();
  bool software = false;
  for (hive_node_h child : hive.Children(root))
    if (EqualsNoCase(hive.Name(child), u"Classes")) software = true;
  MemoryStore::Node* target = store.CreatePath(RootKey::LocalMachine, software ? u"Software" : u"Software\\Classes");
  try {
    CopyTree(hive, root, *target);
  } catch (const InputLimitExceeded& e) {
    throw RegistryParseError::At(source, 0, e.what());
  }
  BuildClassesRoot(store);
}

#endif

}  // namespace brannock::registry
