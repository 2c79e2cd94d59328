#include "registry/reg_file_writer.h"

#include <vector>

#include "platform/files.h"

namespace brannock::registry {

namespace {

// regedit's lines of hex data are at most this wide, with the backslash
// that continues them.
constexpr size_t kLineWidth = 80;

void AppendQuoted(Text& out, TextView s) {
  out.push_back(u'"');
  for (char16_t c : s) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
  out.push_back(u'"');
}

// REG_SZ data that reads back unchanged from a quoted string: whole code
// units, one terminating NUL and no NUL, CR or LF before it.
bool IsPlainString(const Bytes& data, Text& text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const size_t n = data.size() / 2 - 1;
  if (data[2 * n] != 0 || data[2 * n + 1] != 0) return false;
  text.clear();
  text.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    if (c == 0 || c == u'\r' || c == u'\n') return false;
    text.push_back(c);
  }
  return true;
}

void AppendHexByte(Text& out, uint8_t b) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  out.push_back(kDigits[b >> 4]);
  out.push_back(kDigits[b & 15]);
}

void AppendValue(Text& out, const MemoryStore::Value& v) {
  const size_t lineStart = out.size();
  if (v.name.empty()) out.push_back(u'@');
  else AppendQuoted(out, v.name);
  out.push_back(u'=');
  Text text;
  if (v.type == RegType::Sz && IsPlainString(v.data, text)) {
    AppendQuoted(out, text);
    out += u"\r\n";
    return;
  }
  if (v.type == RegType::Dword && v.data.size() == 4) {
    const uint32_t d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<uint32_t>(v.data[3]) << 24);
    out += u"dword:";
    for (int shift = 24; shift >= 0; shift -= 8) AppendHexByte(out, static_cast<uint8_t>(d >> shift));
    out += u"\r\n";
    return;
  }
  if (v.type == RegType::Binary) {
    out += u"hex:";
  } else {
    out += u"hex(" + LowerAscii(HexUpper(v.type)) + u"):";
  }
  size_t column = out.size() - lineStart;
  for (size_t i = 0; i < v.data.size(); ++i) {
    AppendHexByte(out, v.data[i]);
    column += 2;
    if (i + 1 == v.data.size()) break;
    out.push_back(u',');
    ++column;
    // Wrapped unless one more "xx," and the backslash fit.
    if (column + 4 > kLineWidth) {
      out += u"\\\r\n  ";
      column = 2;
    }
  }
  out += u"\r\n";
}

// The node of root\path and its full name as the store spells it; no node
// when a part is missing.
const MemoryStore::Node* FindNode(const MemoryStore& store, RootKey root, TextView path, Text& fullName) {
  const MemoryStore::Node* node = &store.Root(root);
  fullName = RootKeyName(root);
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  if (path.empty()) return node;
  for (const Text& part : Split(path, u'\\')) {
    if (part.empty()) return nullptr;
    node = node->FindChild(part);
    if (node == nullptr) return nullptr;
    fullName += u"\\" + node->name;
  }
  return node;
}

// Depth first, subkeys in enumeration order; the stack holds each node's
// full name.
void AppendTree(Text& out, const MemoryStore::Node* top, Text topName) {
  std::vector<std::pair<const MemoryStore::Node*, Text>> work;
  work.emplace_back(top, std::move(topName));
  while (!work.empty()) {
    auto [node, name] = std::move(work.back());
    work.pop_back();
    out += u"[" + name + u"]\r\n";
    for (const auto& v : node->Values()) AppendValue(out, v);
    out += u"\r\n";
    for (auto it = node->Children().rbegin(); it != node->Children().rend(); ++it)
      work.emplace_back(it->second.get(), name + u"\\" + it->second->name);
  }
}

}  // namespace

Text RootKeyName(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return u"HKEY_CLASSES_ROOT";
    case RootKey::CurrentUser: return u"HKEY_CURRENT_USER";
    case RootKey::LocalMachine: return u"HKEY_LOCAL_MACHINE";
    case RootKey::Users: return u"HKEY_USERS";
  }
  return Text();
}

Text RegFileText(const MemoryStore& store, const std::vector<ExportKey>& keys) {
  Text out = u"Windows Registry Editor Version 5.00\r\n\r\n";
  for (const ExportKey& key : keys) {
    Text name;
    if (const MemoryStore::Node* top = FindNode(store, key.root, key.path, name)) AppendTree(out, top, std::move(name));
  }
  return out;
}

Text RegFileText(const MemoryStore& store, RootKey root, TextView path) {
  return RegFileText(store, {ExportKey{root, Text(path)}});
}

std::string RegFileBytes(const MemoryStore& store, const std::vector<ExportKey>& keys) {
  const Text text = RegFileText(store, keys);
  std::string bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes += "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string RegFileBytes(const MemoryStore& store, RootKey root, TextView path) {
  return RegFileBytes(store, {ExportKey{root, Text(path)}});
}

void SaveRegFile(const std::filesystem::path& file, const MemoryStore& store, const std::vector<ExportKey>& keys) {
  platform::WriteFileAtomically(file, RegFileBytes(store, keys));
}

void SaveRegFile(const std::filesystem::path& file, const MemoryStore& store, RootKey root, TextView path) {
  SaveRegFile(file, store, {ExportKey{root, Text(path)}});
}

}  // namespace brannock::registry
