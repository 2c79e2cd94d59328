#include "app/cli/dump_key_command.h"

#include "common/error.h"
#include "platform/files.h"
#include "registry/registry_reader.h"
#include "registry/value_text.h"

namespace brannock::cli {

namespace {

using registry::RootKey;

// Control characters as \xNN, so every key and value stays on one line.
std::string Escaped(TextView text) {
  Text out;
  for (char16_t c : text) {
    if (c < 0x20) {
      const Text code = HexUpper(c);
      out += u"\\x" + Text(2 - code.size(), u'0') + code;
    } else {
      out.push_back(c);
    }
  }
  return Utf16ToUtf8(out);
}

std::string ValueText(registry::RegistryBackend& backend, TextView path, TextView name, bool asHex) {
  try {
    return Escaped(registry::GetRegValueText(backend, RootKey::ClassesRoot, path, name, asHex));
  } catch (const Error& e) {
    return "! " + Utf16ToUtf8(e.Message());
  }
}

void DumpKey(registry::RegistryBackend& backend, const Text& path, std::string& out) {
  auto reader = registry::RegistryReader::ProcessView(backend);
  if (!reader.OpenKeyReadOnly(path)) return;
  TextList values;
  TextList subkeys;
  reader.GetValueNames(values);
  reader.GetKeyNames(subkeys);
  reader.CloseKey();
  out += "[" + Escaped(path) + "]\n";
  for (const Text& name : values) {
    out += "  \"" + Escaped(name) + "\" hex: " + ValueText(backend, path, name, true) + "\n";
    out += "  \"" + Escaped(name) + "\" text: " + ValueText(backend, path, name, false) + "\n";
  }
  for (const Text& subkey : subkeys) DumpKey(backend, path.empty() ? subkey : path + u"\\" + subkey, out);
}

}  // namespace

std::string DumpKeyTree(registry::RegistryBackend& backend, TextView keyPath) {
  std::string out;
  DumpKey(backend, Text(keyPath), out);
  return out;
}

void WriteKeyDump(registry::RegistryBackend& backend, TextView keyPath, const std::filesystem::path& file) {
  platform::WriteFileAtomically(file, DumpKeyTree(backend, keyPath));
}

}  // namespace brannock::cli
