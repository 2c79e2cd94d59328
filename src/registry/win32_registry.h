// The live Windows registry through advapi32 (Windows builds only; the
// implementation is win32_registry_win32.cpp).
//
// Enumeration is whatever the system returns by index (RegEnumKeyExW,
// RegEnumValueW); on Windows and Wine that is the order registry_backend.h
// documents. Keys can be created and values written only below
// HKEY_CURRENT_USER (the window settings): the catalogue's registry is never
// written to.
#pragma once

#include "registry/registry_backend.h"

namespace brannock::registry {

class Win32Registry : public RegistryBackend {
 public:
  // RegOpenKeyExW with the access mask as given (view flag included).
  std::unique_ptr<OpenedKey> Open(RootKey root, TextView path, uint32_t access) override;
  // RegCreateKeyExW below HKEY_CURRENT_USER; null for every other root.
  std::unique_ptr<OpenedKey> Create(RootKey root, TextView path) override;
  // IsWow64Process, looked up at run time; asked once per process.
  bool RunsUnderWow64() const override;
  // 64-bit Windows (a 64-bit process, or a 32-bit one under WOW64) has both
  // views; RegOpenKeyExW takes the view flag of every open.
  RegistryView MachineView() const override;
  // The process environment: on Windows the host is the registry's machine.
  TextList WindowsEnvironment() const override;
};

}  // namespace brannock::registry
