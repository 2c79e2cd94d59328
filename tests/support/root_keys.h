// Short names of the registry's roots, for the tests' key paths.
#pragma once

#include "registry/registry_backend.h"

inline constexpr brannock::registry::RootKey CR = brannock::registry::RootKey::ClassesRoot;
inline constexpr brannock::registry::RootKey HKCR = brannock::registry::RootKey::ClassesRoot;
inline constexpr brannock::registry::RootKey CU = brannock::registry::RootKey::CurrentUser;
inline constexpr brannock::registry::RootKey LM = brannock::registry::RootKey::LocalMachine;
