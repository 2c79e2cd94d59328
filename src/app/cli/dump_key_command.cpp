#include "app/cli/dump_key_command.h"

#include <cstdio>
#include <exception>

#include "app/cli/cli_options.h"
#include "common/error.h"
#include "platform/files.h"
#include "registry/registry_reader.h"
#include "registry/registry_source.h"
#include "registry/value_text.h"
#include "registry/viewed_registry.h"

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

std::optional<int> RunDumpKeyCommand(const std::vector<std::string>& args) {
  std::optional<std::filesystem::path> registryPath;
  std::optional<std::string> keyPath;
  std::optional<std::filesystem::path> file;
  std::optional<registry::RegistryView> view;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dump-key" && i + 2 < args.size()) {
      keyPath = args[i + 1];
      file = PathFromArgument(args[i + 2]);
      i += 2;
    } else if (args[i] == "--view" && i + 1 < args.size() && registry::ViewFromText(Utf8ToUtf16(args[i + 1]))) {
      view = registry::ViewFromText(Utf8ToUtf16(args[++i]));
    } else if (args[i] == "--registry" && i + 1 < args.size()) {
      registryPath = PathFromArgument(args[++i]);
    } else {
      return std::nullopt;
    }
  }
  if (!keyPath) return std::nullopt;
  try {
    registry::RegistrySource source = registry::OpenRegistrySource(registryPath);
    registry::ViewedRegistry viewed(*source.backend, view.value_or(registry::DefaultView(*source.backend)));
    registry::RequireView(*source.backend, viewed.View());
    platform::WriteFileAtomically(*file, DumpKeyTree(viewed, Utf8ToUtf16(*keyPath)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brannock-cli: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace brannock::cli
