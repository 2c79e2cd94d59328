// The Linux home of the window settings: the HKEY_CURRENT_USER keys the
// window writes, kept as a .reg file in the user's configuration folder,
// loaded into a MemoryStore at start and written back completely or not at
// all.
#pragma once

#include <filesystem>

#include "registry/memory_store.h"

namespace brannock::ui {

class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path file);

  // <configuration folder>/brannock/settings.reg
  static std::filesystem::path DefaultPath();

  const std::filesystem::path& Path() const { return file_; }
  registry::MemoryStore& Store() { return store_; }

  // A missing file is an empty store; a malformed one raises its parse
  // error (what was read before it stays).
  void Load();
  // Writes everything below HKEY_CURRENT_USER\Software\Velkar; raises
  // FileError when the file cannot be written.
  void Save();

 private:
  std::filesystem::path file_;
  registry::MemoryStore store_;
};

}  // namespace brannock::ui
