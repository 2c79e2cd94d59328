#include "analysis/source_parts.h"

#include <algorithm>

#include "registry/registry_error.h"
#include "registry/registry_reader.h"

namespace brannock::analysis {

using registry::RegistryReader;
using registry::RootKey;

namespace {

// HKEY_CLASSES_ROOT in the view given; the other roots as written.
RegistryReader ReaderOf(registry::RegistryBackend& backend, RootKey root) {
  if (root == RootKey::ClassesRoot) return RegistryReader::ProcessView(backend);
  return RegistryReader(backend, root, registry::Access::KeyRead | registry::Access::Wow64_64Key);
}

}  // namespace

bool HoldsSoftwareKey(registry::RegistryBackend& store, RootKey root) {
  RegistryReader reader = ReaderOf(store, root);
  if (!reader.OpenKeyReadOnly(u"Software")) return false;
  TextList names;
  reader.GetKeyNames(names);
  return std::any_of(names.begin(), names.end(), [](const Text& n) {
    return !EqualsNoCase(n, u"Classes") && !EqualsNoCase(n, u"Wow6432Node");
  });
}

Text StringValueOrEmpty(registry::RegistryBackend& backend, RootKey root, TextView path, TextView name) {
  RegistryReader reader = ReaderOf(backend, root);
  if (!reader.OpenKeyReadOnly(path)) return {};
  try {
    return reader.ReadString(name);
  } catch (const registry::RegistryError&) {
    return {};
  }
}

}  // namespace brannock::analysis
