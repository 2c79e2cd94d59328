#include "registry/registry_backend.h"

#include "common/error.h"
#include "registry/windows_environment.h"

namespace brannock::registry {

void OpenedKey::SetValue(TextView, uint32_t, const Bytes&) {
  throw Error(u"The registry source is read-only");
}

std::unique_ptr<OpenedKey> RegistryBackend::Create(RootKey, TextView) { return nullptr; }

TextList RegistryBackend::WindowsEnvironment() const { return DefaultWindowsEnvironment(); }

}  // namespace brannock::registry
