// Helpers of the registry file reader tests.
#pragma once

#include <functional>
#include <string>

#include "registry/memory_store.h"
#include "registry/registry_parse_error.h"

namespace brannock::testing {

// UTF-16LE bytes of a text, with the byte order mark regedit writes.
inline std::string Utf16LeFile(std::u16string_view text, bool mark = true) {
  std::string bytes = mark ? "\xFF\xFE" : "";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// The message of the RegistryParseError raised by f, or "(no error)".
inline std::string ParseErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const registry::RegistryParseError& e) {
    return e.what();
  }
  return "(no error)";
}

inline const registry::MemoryStore::Value* FindValue(registry::MemoryStore& store, registry::RootKey root,
                                                     std::u16string_view path, std::u16string_view name) {
  registry::MemoryStore::Node* node = store.Find(root, path);
  return node == nullptr ? nullptr : node->FindValue(name);
}

// The text of a REG_SZ-like value without its terminating NUL; "(missing)"
// when the value does not exist.
inline std::u16string StringValue(registry::MemoryStore& store, registry::RootKey root, std::u16string_view path,
                                  std::u16string_view name) {
  const auto* v = FindValue(store, root, path, name);
  if (v == nullptr) return u"(missing)";
  std::u16string s;
  for (size_t i = 0; i + 1 < v->data.size(); i += 2) s.push_back(static_cast<char16_t>(v->data[i] | (v->data[i + 1] << 8)));
  if (!s.empty() && s.back() == 0) s.pop_back();
  return s;
}

inline std::vector<std::u16string> SubkeyNames(registry::MemoryStore& store, registry::RootKey root,
                                               std::u16string_view path) {
  auto key = store.Open(root, path, 0x20019);
  return key ? key->SubkeyNames() : std::vector<std::u16string>{u"(missing)"};
}

// A printable dump of a subtree: every key with its values (type and hex
// data) in enumeration order; equal dumps mean equal trees.
inline std::string DumpTree(const registry::MemoryStore::Node& node, const std::string& indent = "") {
  std::string out;
  for (const auto& v : node.Values()) {
    out += indent + "  \"" + Utf16ToUtf8(v.name) + "\" " + std::to_string(v.type) + ":";
    for (uint8_t b : v.data) {
      static const char* digits = "0123456789abcdef";
      out += digits[b >> 4];
      out += digits[b & 15];
    }
    out += "\n";
  }
  for (const auto& [key, child] : node.Children()) {
    out += indent + "[" + Utf16ToUtf8(child->name) + "]\n";
    out += DumpTree(*child, indent + "  ");
  }
  return out;
}

}  // namespace brannock::testing
