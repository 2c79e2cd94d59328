// The Windows environment of the machine a registry belongs to: the
// NAME=VALUE entries with which REG_EXPAND_SZ texts and server paths are
// expanded. A registry read from files describes another machine than the
// host, so the host's own environment never enters here.
#pragma once

#include "common/text.h"

namespace brannock::registry {

class RegistryBackend;

// What a 64-bit Windows installed on C: gives every process, for sources
// that do not say (a .reg export, a hive, the demo registry):
// SystemRoot=C:\Windows, windir, SystemDrive=C:, the program and common
// files folders, ProgramData, PUBLIC, ComSpec, PATH, ... In the order of an
// environment block: sorted by name without regard to case.
TextList DefaultWindowsEnvironment();

// The environment Wine builds for the programs of a prefix from the
// prefix's registry (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER loaded):
// SystemRoot from Windows NT\CurrentVersion, SystemDrive from it, the
// program and common files folders from Windows\CurrentVersion, ProgramData,
// ALLUSERSPROFILE and PUBLIC from the profile list, then the machine's
// Session Manager\Environment values and the user's Environment values,
// each REG_EXPAND_SZ value expanded with what came before it. Sorted by name
// without regard to case; a later entry replaces an earlier one of the same
// name.
TextList WinePrefixEnvironment(RegistryBackend& backend);

// The value of NAME in such a list (names matched without regard to case);
// empty when it is not there.
Text EnvironmentValue(const TextList& environment, TextView name);

}  // namespace brannock::registry
