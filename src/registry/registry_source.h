// Choosing the registry a run reads: the live registry (Windows), a Wine
// prefix, a .reg export, an offline hive, or the demo registry built into the
// program. File sources are read-only: nothing ever writes to a source.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "registry/memory_store.h"

namespace brannock::registry {

// The size and time of a file a source was read from; a missing file has
// neither.
struct FileStamp {
  std::filesystem::path file;
  std::optional<uintmax_t> size;
  std::optional<std::filesystem::file_time_type> time;

  static FileStamp Of(const std::filesystem::path& file);
  bool operator==(const FileStamp&) const = default;
};

struct RegistrySource {
  enum class Kind { Live, WinePrefix, RegFile, Hive, Demo };
  Kind kind = Kind::Demo;
  std::filesystem::path path;  // file or prefix folder; empty for Live/Demo
  std::unique_ptr<RegistryBackend> backend;
  // The places of the default choice that were passed over, each with the
  // reason: "~/.wine skipped: not a Wine prefix (no system.reg)".
  TextList skipped;

  // The line that tells the user what they see, the same in every front
  // end: "Live registry", "Wine prefix ~/.wine", "Registry file
  // exports/hkcr.reg", "Hive UsrClass.dat", "Demo registry". Paths are
  // shown as given, a path inside the home folder starting with "~".
  Text Description() const;

  // The Windows environment of the source's machine (NAME=VALUE entries):
  // the process environment for the live registry, what Wine gives the
  // programs of a prefix, the Windows defaults for an export, a hive or the
  // demo registry. The host's environment never enters a file source's.
  TextList WindowsEnvironment() const;

  // Reads a file source (Wine prefix, .reg export, hive) again when one of
  // its files changed in size or time since it was read, and says whether
  // it did. The backend object stays the same, so whoever holds it sees the
  // new contents. The live registry is read anew at every access anyway; the
  // demo registry never changes. Raises RegistryParseError when the changed
  // file cannot be read; the source then keeps what it held.
  bool ReloadIfChanged();

  // The files the source was read from, as they were just before.
  std::vector<FileStamp> stamps;
};

// An explicit path: a directory is a Wine prefix, a file ending in ".reg"
// (any letter case) an export, anything else a hive. Without a path: the live
// registry on Windows; on POSIX the first Wine prefix among $WINEPREFIX and
// ~/.wine (a folder holding system.reg), else the demo registry; the places
// passed over are listed in `skipped`.
// Raises RegistryParseError when the chosen file or prefix cannot be read,
// and when an explicit folder is not a Wine prefix.
RegistrySource OpenRegistrySource(const std::optional<std::filesystem::path>& path);

// The source for an explicit path (the portable part of the choice above).
RegistrySource OpenRegistryPath(const std::filesystem::path& path);

// The demo registry shipped inside the program.
RegistrySource OpenDemoRegistry();

// How the store of a file source is laid out: HKEY_CLASSES_ROOT composed
// from the machine's and the user's classes (what every view reads), or
// every key where the source put it (what a snapshot writes).
enum class StoreLayout { Composed, AsStored };

// Reads the files of a Wine prefix, .reg export or hive (or the demo
// registry, whose path is empty) into a new read-only store. Raises
// RegistryParseError as OpenRegistryPath does; the live registry gives an
// empty store.
std::unique_ptr<MemoryStore> LoadSourceStore(RegistrySource::Kind kind, const std::filesystem::path& path,
                                             StoreLayout layout);

// Why a folder is not a Wine prefix ("no such folder", "not a Wine prefix
// (no system.reg)"); nothing when it is one.
std::optional<std::string> NotAWinePrefix(const std::filesystem::path& folder);

// `path` for display: inside `home` (not empty) as "~/rest", else as given.
Text PathForDisplay(const std::filesystem::path& path, const std::filesystem::path& home);

// The home folder that PathForDisplay abbreviates; empty where there is none.
std::filesystem::path HomeFolder();

}  // namespace brannock::registry
