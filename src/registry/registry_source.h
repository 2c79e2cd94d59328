// Choosing the registry a run reads: the live registry (Windows), a Wine
// prefix, a .reg export, an offline hive, or the demo registry built into the
// program. File sources are read-only: nothing ever writes to a source.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "registry/registry_backend.h"

namespace brannock::registry {

struct RegistrySource {
  enum class Kind { Live, WinePrefix, RegFile, Hive, Demo };
  Kind kind = Kind::Demo;
  std::filesystem::path path;  // file or prefix folder; empty for Live/Demo
  std::unique_ptr<RegistryBackend> backend;

  // "Live registry", "Wine prefix /home/u/.wine", "Registry export x.reg",
  // "Registry hive x.hiv", "Demo registry".
  Text Description() const;
};

// An explicit path: a directory is a Wine prefix, a file ending in ".reg"
// (any letter case) an export, anything else a hive. Without a path: the live
// registry on Windows; on POSIX $WINEPREFIX when set and not empty, else
// ~/.wine when it holds system.reg, else the demo registry.
// Raises RegistryParseError when the chosen file or prefix cannot be read.
RegistrySource OpenRegistrySource(const std::optional<std::filesystem::path>& path);

// The source for an explicit path (the portable part of the choice above).
RegistrySource OpenRegistryPath(const std::filesystem::path& path);

// The demo registry shipped inside the program.
RegistrySource OpenDemoRegistry();

}  // namespace brannock::registry
