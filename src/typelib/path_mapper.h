// Windows paths found in a registry source (C:\windows\system32\x.dll) as
// host files: through a Wine prefix's dosdevices links (c: -> ../drive_c)
// or explicit drive mappings (--drive C=/mnt/win). Windows paths ignore
// letter case, so each component is looked up on the host without regard
// to case when its exact spelling does not exist.
#pragma once

#include <filesystem>
#include <map>
#include <optional>

#include "common/text.h"

namespace brannock::typelib {

class PathMapper {
 public:
  // The drives of a Wine prefix: every "x:" link in its dosdevices folder.
  static PathMapper ForWinePrefix(const std::filesystem::path& prefix);

  // Maps drive `letter` (any case) to the host folder `dir`; a later
  // mapping of the same letter replaces the earlier one.
  void AddDrive(char16_t letter, const std::filesystem::path& dir);

  // Parses "C=/mnt/win" (the --drive option's value); false when it is not
  // of that form.
  bool AddDriveOption(TextView option);

  bool Empty() const { return drives_.empty(); }

  // The host file of an absolute Windows path ("C:\x\y", also with forward
  // slashes); nothing when the drive is not mapped or the file does not
  // exist.
  std::optional<std::filesystem::path> MapWindowsPath(TextView path) const;

 private:
  std::map<char16_t, std::filesystem::path> drives_;
};

// Finds `name` in `dir`: the exact name first, then any entry whose name is
// the same without regard to case (ASCII letters).
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& dir, TextView name);

// A host path from UTF-16 text and back (UTF-8 on POSIX).
std::filesystem::path HostPath(TextView text);
Text HostPathText(const std::filesystem::path& path);

}  // namespace brannock::typelib
